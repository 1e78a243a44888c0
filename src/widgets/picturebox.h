#pragma once

#include <QFrame>
#include <QImage>

namespace quintaraz {

/**
 * A picture in a 2-pixel sunken border that acts as a button: the palette and the start
 * tool. A click, or Space or Enter while it has the focus, presses it. While the focus came
 * by the keyboard, the style's focus mark shows on the picture.
 */
class PictureBox : public QFrame {
    Q_OBJECT

public:
    PictureBox(const QImage& picture, QWidget* parent = nullptr);

    /**
     * Whether the tool that this picture chooses is the one in use. Screen readers hear it
     * as the selected one of a group of radio buttons; nothing on the window changes.
     */
    void setActive(bool active);
    bool isActive() const { return active_; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QImage picture_;
    bool active_ = false;
    bool keyboardFocus_ = false; // the focus came by Tab or Shift+Tab
};

} // namespace quintaraz
