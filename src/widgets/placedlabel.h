#pragma once

#include <QColor>
#include <QRect>
#include <QString>

class QLabel;
class QWidget;

namespace quintaraz {

/**
 * A caption at a fixed place on a window, its text at the top left, named for users, tests
 * and screen readers; in the given text colour, if one is given.
 */
QLabel* placedLabel(QWidget* parent, const QString& name, const QString& text, QRect geometry,
                    const QColor& textColour = {});

} // namespace quintaraz
