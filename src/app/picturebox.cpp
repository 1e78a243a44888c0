#include "picturebox.h"

#include <QMouseEvent>
#include <QPainter>

namespace quintaraz {

PictureBox::PictureBox(const QImage& picture, QWidget* parent)
    : QFrame(parent)
    , picture_(picture)
{
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), picture_);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace quintaraz
