#include "widgets/mapview.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

namespace quintaraz {

MapView::MapView(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("mapa"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_StaticContents);
    setMouseTracking(true); // the cell readout follows the pointer without a button held
    setFocusPolicy(Qt::StrongFocus);
}

void MapView::setImage(const QImage* image)
{
    image_ = image;
    update();
}

void MapView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (!image_ || image_->isNull()) {
        // Blank, in the window colour, until the first map exists.
        painter.fillRect(event->rect(), palette().base());
        return;
    }
    painter.drawImage(event->rect().topLeft(), *image_, event->rect());
}

void MapView::mousePressEvent(QMouseEvent* event)
{
    // Every button acts alike, and each press of a double click counts.
    emit pressed(event->position());
}

void MapView::mouseMoveEvent(QMouseEvent* event)
{
    emit moved(event->position());
}

} // namespace quintaraz
