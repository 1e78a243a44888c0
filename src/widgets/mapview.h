#pragma once

#include <QPoint>
#include <QPointF>
#include <QWidget>

class QImage;

namespace quintaraz {

/**
 * The map view: shows the editor's picture of the cells in view and reports presses and
 * moves in view pixels. The picture is a ring: the view's top-left pixel lies at an origin
 * in it, and the view goes on across the picture's right and bottom edges from its left and
 * top, so that a scroll redraws only the cells it brings in.
 */
class MapView : public QWidget {
    Q_OBJECT

public:
    explicit MapView(QWidget* parent = nullptr);

    /** The picture to show; it is read, never copied, on each repaint. */
    void setPicture(const QImage* picture);
    /** Where the view's top-left pixel lies in the picture; the view is painted again. */
    void setOrigin(QPoint origin);

signals:
    void pressed(QPointF pixel);
    void moved(QPointF pixel);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    const QImage* picture_ = nullptr;
    QPoint origin_;
};

} // namespace quintaraz
