#pragma once

#include <QColor>
#include <QRect>
#include <QString>

class QLabel;
class QWidget;

namespace quintaraz {

/** How often a caption's text changes: with every key or move (a CaptionLabel) or seldom. */
enum class CaptionChanges { Seldom, Often };

/**
 * A caption at a fixed place on a window, its text at the top left, named for users, tests
 * and screen readers; in the given text colour, if one is given.
 */
QLabel* placedLabel(QWidget* parent, const QString& name, const QString& text, QRect geometry,
                    const QColor& textColour = {}, CaptionChanges changes = CaptionChanges::Seldom);

} // namespace quintaraz
