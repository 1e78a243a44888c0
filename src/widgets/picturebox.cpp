#include "widgets/picturebox.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace quintaraz {

namespace {

// For screen readers the pictures are radio buttons: of the palette and the start tool,
// exactly one is in use, and readers speak a radio button's name, role and whether it is
// the one selected.
class PictureBoxAccessible : public QAccessibleWidget {
public:
    explicit PictureBoxAccessible(PictureBox* box)
        : QAccessibleWidget(box, QAccessible::RadioButton)
    {
    }

    QStringList actionNames() const override { return {pressAction()}; }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = static_cast<PictureBox*>(widget())->isActive();
        return state;
    }

    void doAction(const QString& action) override
    {
        if (action == pressAction())
            emit static_cast<PictureBox*>(widget())->clicked();
    }
};

/** The window, or one of its menus, took the focus for a while and gives it back. */
bool focusLentAway(Qt::FocusReason reason)
{
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}

QAccessibleInterface* accessibleFor(const QString& className, QObject* object)
{
    if (className == QLatin1String("quintaraz::PictureBox") && object && object->isWidgetType())
        return new PictureBoxAccessible(static_cast<PictureBox*>(object));
    return nullptr;
}

} // namespace

PictureBox::PictureBox(const QImage& picture, QWidget* parent)
    : QFrame(parent)
    , picture_(picture)
{
    static const bool accessible = (QAccessible::installFactory(accessibleFor), true);
    Q_UNUSED(accessible);
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
}

void PictureBox::setActive(bool active)
{
    if (active == active_)
        return;
    active_ = active;
    // Told as Qt tells it of a checkable button.
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), picture_);
    if (!hasFocus() || !keyboardFocus_)
        return;
    // The style's own focus mark on the picture, told that the keyboard moved the focus.
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.state |= QStyle::State_KeyboardFocusChange;
    focus.rect = rect();
    focus.backgroundColor = palette().color(QPalette::Window);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}

void PictureBox::focusInEvent(QFocusEvent* event)
{
    // Qt marks a window for good once the keyboard has moved its focus; the mark here
    // shows only while this focus came by Tab or Shift+Tab.
    if (!focusLentAway(event->reason()))
        keyboardFocus_ =
            event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    QFrame::focusInEvent(event);
}

void PictureBox::focusOutEvent(QFocusEvent* event)
{
    if (!focusLentAway(event->reason()))
        keyboardFocus_ = false;
    QFrame::focusOutEvent(event);
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    // A click on the picture that already has the focus leaves it as a click would find it.
    if (keyboardFocus_) {
        keyboardFocus_ = false;
        update();
    }
    QFrame::mousePressEvent(event);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void PictureBox::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Select:
        if (!event->isAutoRepeat())
            emit clicked();
        event->accept();
        return;
    default:
        QFrame::keyPressEvent(event);
    }
}

} // namespace quintaraz
