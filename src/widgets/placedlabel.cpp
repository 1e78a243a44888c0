#include "widgets/placedlabel.h"

#include "widgets/captionlabel.h"

#include <QLabel>

namespace quintaraz {

QLabel* placedLabel(QWidget* parent, const QString& name, const QString& text, QRect geometry,
                    const QColor& textColour, CaptionChanges changes)
{
    QLabel* label = changes == CaptionChanges::Often ? new CaptionLabel(text, parent)
                                                     : new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (textColour.isValid()) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, textColour);
        label->setPalette(palette);
    }
    return label;
}

} // namespace quintaraz
