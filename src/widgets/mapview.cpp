#include "widgets/mapview.h"

#include "render/ringpieces.h"

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

void MapView::setPicture(const QImage* picture)
{
    picture_ = picture;
    update();
}

void MapView::setOrigin(QPoint origin)
{
    origin_ = origin;
    update();
}

void MapView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (!picture_ || picture_->isNull()) {
        // Blank, in the window colour, until the first map exists.
        painter.fillRect(event->rect(), palette().base());
        return;
    }
    const QRect shown = event->rect() & picture_->rect();
    for (const RingPiece columns :
         ringPieces(shown.left(), shown.width(), origin_.x(), picture_->width()))
        for (const RingPiece rows :
             ringPieces(shown.top(), shown.height(), origin_.y(), picture_->height()))
            if (columns.count > 0 && rows.count > 0)
                painter.drawImage(QPoint(columns.inView, rows.inView), *picture_,
                                  QRect(columns.inRing, rows.inRing, columns.count, rows.count));
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
