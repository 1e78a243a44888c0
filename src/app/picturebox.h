#pragma once

#include <QFrame>
#include <QImage>

namespace quintaraz {

/** A picture in a 2-pixel sunken border that reports clicks: the palette and the start tool. */
class PictureBox : public QFrame {
    Q_OBJECT

public:
    PictureBox(const QImage& picture, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage picture_;
};

} // namespace quintaraz
