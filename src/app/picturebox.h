#pragma once

#include <QFrame>
#include <QImage>

namespace quintaraz {

/**
 * A picture in a 2-pixel sunken border that acts as a button: the palette and the start
 * tool. A click, or Space or Enter while it has the focus, presses it.
 */
class PictureBox : public QFrame {
    Q_OBJECT

public:
    PictureBox(const QImage& picture, QWidget* parent = nullptr);

    /**
     * Whether the tool that this picture chooses is the one in use. Screen readers hear it
     * as checked, as a checkable button; nothing on the window changes.
     */
    void setActive(bool active);
    bool isActive() const { return active_; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QImage picture_;
    bool active_ = false;
};

} // namespace quintaraz
