#pragma once

#include <QPointF>
#include <QWidget>

class QImage;

namespace quintaraz {

/** The map view: shows the composed map image and reports presses and moves in view pixels. */
class MapView : public QWidget {
    Q_OBJECT

public:
    explicit MapView(QWidget* parent = nullptr);

    /** The image to show; it is read, never copied, on each repaint. */
    void setImage(const QImage* image);

signals:
    void pressed(QPointF pixel);
    void moved(QPointF pixel);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    const QImage* image_ = nullptr;
};

} // namespace quintaraz
