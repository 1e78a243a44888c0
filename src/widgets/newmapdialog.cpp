#include "widgets/newmapdialog.h"

#include "map/gamemap.h"
#include "widgets/digitsvalidator.h"
#include "widgets/editorfont.h"
#include "widgets/placedlabel.h"

#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace quintaraz {

namespace {

QLineEdit* sizeBox(const QString& name, QRect geometry, QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setGeometry(geometry);
    new DigitsValidator(box);
    return box;
}

/** Brings a box's number into the map sizes: the box then reads "16" or "99". */
void clampToMapSize(QLineEdit* box)
{
    const int value = sizeTextValue(box->text());
    if (!mapSizeLimits.contains(value))
        box->setText(QString::number(mapSizeLimits.clamp(value)));
}

} // namespace

NewMapDialog::NewMapDialog(const QWidget& main, const QImage& icon)
    // A window of its own, without an owner: not in the taskbar, and only a close button.
    : QWidget(nullptr,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("nuevo"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Nuevo Mapa"));
    setWindowIcon(QIcon(QPixmap::fromImage(icon)));
    setFixedSize(172, 108);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0, 192, 192));
    setPalette(colours);
    setFont(editorFont(font()));

    placedLabel(this, QStringLiteral("Label1"), QStringLiteral("Ancho:"), {16, 8, 65, 17});
    placedLabel(this, QStringLiteral("Label2"), QStringLiteral("Alto:"), {16, 40, 41, 17});
    widthBox_ = sizeBox(QStringLiteral("ancho"), {64, 8, 89, 19}, this);
    heightBox_ = sizeBox(QStringLiteral("alto"), {64, 40, 89, 19}, this);
    widthBox_->setAccessibleName(QStringLiteral("Ancho del mapa"));
    heightBox_->setAccessibleName(QStringLiteral("Alto del mapa"));
    widthBox_->setAccessibleDescription(QStringLiteral("Columna más alta, de 16 a 99"));
    heightBox_->setAccessibleDescription(QStringLiteral("Fila más alta, de 16 a 99"));
    auto* aceptar = new QPushButton(QStringLiteral("Aceptar"), this);
    aceptar->setObjectName(QStringLiteral("aceptar"));
    aceptar->setGeometry(40, 80, 97, 17);
    // Enter on the focused button presses it, as Space does. This is a plain window, not a
    // dialog, so Enter in a box still presses nothing.
    aceptar->setAutoDefault(true);
    connect(aceptar, &QPushButton::clicked, this, &NewMapDialog::accept);
    setTabOrder(widthBox_, heightBox_);
    setTabOrder(heightBox_, aceptar);
    widthBox_->setFocus();

    // Beside the main window: touching its right frame edge, top edges level; moved left
    // only as far as it takes to stay on the main window's screen. Until it is shown this
    // window has no frame, so its frame is taken to be as wide as the main window's.
    const QRect frame = main.frameGeometry();
    const QRect screen = main.screen()->availableGeometry();
    const int frameWidth = width() + frame.width() - main.width();
    const int left = std::min(frame.x() + frame.width(), screen.right() + 1 - frameWidth);
    move(std::max(left, screen.left()), frame.y());
}

void NewMapDialog::accept()
{
    if (widthBox_->text().isEmpty() || heightBox_->text().isEmpty())
        return;
    clampToMapSize(widthBox_);
    clampToMapSize(heightBox_);
    emit sizeChosen(sizeTextValue(widthBox_->text()), sizeTextValue(heightBox_->text()));
    close();
}

} // namespace quintaraz
