#include "mainwindow.h"

#include "../art/tileart.h"
#include "editorfont.h"
#include "mapview.h"
#include "newmapdialog.h"
#include "picturebox.h"
#include "userdialogs.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QWindow>

namespace quintaraz {

namespace {

// The palette on screen: three columns of two, not in index order.
struct PalettePlace {
    int terrain;
    int left;
    int top;
};
constexpr std::array<PalettePlace, 6> palettePlaces{{
    {0, 424, 128},
    {1, 488, 160},
    {2, 488, 128},
    {3, 424, 160},
    {4, 456, 160},
    {5, 456, 128},
}};

constexpr int pictureBoxSize = 29; // a 25-pixel picture in a 2-pixel border

// What a screen reader says for each terrain picture, in index order.
const std::array<const char*, 6> terrainNames{
    "Hierba", "Roca", "Agua", "Árbol", "Parcela de tierra", "Tierra desnuda"};

QLabel* whiteLabel(const QString& name, const QString& text, QRect geometry, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    return label;
}

} // namespace

MainWindow::MainWindow(const TileArt& art, UserDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent)
    , art_(art)
    , dialogs_(dialogs)
    , editor_(art, dialogs)
{
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QStringLiteral("Quintaraz Editor"));
    createMenu();
    createControls(art);
    // The client area under the menu bar is 542 by 399; the layout stays fixed.
    resize(542, 399 + menuBar()->sizeHint().height());

    connect(&editor_, &Editor::viewChanged, mapa_, qOverload<>(&QWidget::update));
    connect(&editor_, &Editor::sizeCaptionChanged, altAn_, &QLabel::setText);
    connect(&editor_, &Editor::scrollCaptionChanged, cxcy_, &QLabel::setText);
    connect(&editor_, &Editor::pointerCaptionChanged, xy_, &QLabel::setText);
    connect(&editor_, &Editor::sizeCaptionChanged, this, &MainWindow::describeMap);
    connect(&editor_, &Editor::scrollCaptionChanged, this, &MainWindow::describeMap);

    // Load: the terrain tool with terrain 0 and the view at the origin are the
    // document's own initial state; the chooser starts at its first player.
    jugador_->setCurrentIndex(0);
    mapa_->setFocus();
}

MainWindow::~MainWindow()
{
    delete nuevo_.data();
}

void MainWindow::createControls(const TileArt& art)
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setAutoFillBackground(true);
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, QColor(0, 128, 128));
    client->setPalette(palette);
    client->setFont(editorFont(client->font()));
    setCentralWidget(client);

    mapa_ = new MapView(client);
    mapa_->setGeometry(0, 0, 400, 400);
    mapa_->setAccessibleName(QStringLiteral("Mapa"));
    describeMap();
    mapa_->setImage(&editor_.view());
    connect(mapa_, &MapView::pressed, this,
            [this](QPointF pixel) { editor_.pressMap(pixel, jugador_->currentText()); });
    connect(mapa_, &MapView::moved, &editor_, &Editor::pointerMoved);

    std::array<PictureBox*, TileArt::terrainCount> terrimg{}; // the terrain palette
    for (const PalettePlace& place : palettePlaces) {
        auto* picture = new PictureBox(art.terrain(place.terrain), client);
        picture->setObjectName(QStringLiteral("terrimg%1").arg(place.terrain));
        picture->setAccessibleName(QString::fromUtf8(terrainNames[place.terrain]));
        picture->setAccessibleDescription(QStringLiteral("Pinta este terreno"));
        picture->setGeometry(place.left, place.top, pictureBoxSize, pictureBoxSize);
        connect(picture, &PictureBox::clicked, this,
                [this, i = place.terrain] { editor_.selectTerrain(i); });
        terrimg[place.terrain] = picture;
    }

    whiteLabel(QStringLiteral("Label1"), QStringLiteral("Terreno"), {456, 104, 41, 17}, client);
    xy_ = whiteLabel(QStringLiteral("xy"), editor_.pointerCaption(), {432, 80, 89, 25}, client);
    cxcy_ = whiteLabel(QStringLiteral("cxcy"), editor_.scrollCaption(), {432, 48, 89, 25}, client);
    altAn_ = whiteLabel(QStringLiteral("AltAn"), editor_.sizeCaption(), {424, 8, 97, 25}, client);
    whiteLabel(QStringLiteral("Label2"), QStringLiteral("Comienzo"), {456, 208, 49, 17}, client);

    auto* start = new PictureBox(art.startPicture(), client);
    start->setObjectName(QStringLiteral("start"));
    start->setAccessibleName(QStringLiteral("Comienzo de jugador"));
    start->setAccessibleDescription(QStringLiteral("Coloca el comienzo del jugador elegido"));
    start->setGeometry(456, 232, pictureBoxSize, pictureBoxSize);
    connect(start, &PictureBox::clicked, &editor_, &Editor::selectStartTool);

    QLabel* label3 =
        whiteLabel(QStringLiteral("Label3"), QStringLiteral("Jugador"), {408, 272, 49, 17}, client);
    jugador_ = new QComboBox(client);
    jugador_->setObjectName(QStringLiteral("jugador"));
    jugador_->setAccessibleName(QStringLiteral("Jugador"));
    // On Linux a screen reader names a combo box by the label that it is the buddy of.
    label3->setBuddy(jugador_);
    jugador_->setGeometry(456, 272, 57, 21);
    jugador_->setEditable(true);
    jugador_->setInsertPolicy(QComboBox::NoInsert);
    for (int player = 1; player <= TileArt::playerCount; ++player)
        jugador_->addItem(QString::number(player));

    QWidget::setTabOrder(mapa_, terrimg[0]);
    QWidget::setTabOrder(terrimg[0], terrimg[1]);
    QWidget::setTabOrder(terrimg[1], terrimg[2]);
    QWidget::setTabOrder(terrimg[2], start);
    QWidget::setTabOrder(start, jugador_);
    QWidget::setTabOrder(jugador_, terrimg[3]);
    QWidget::setTabOrder(terrimg[3], terrimg[4]);
    QWidget::setTabOrder(terrimg[4], terrimg[5]);
}

void MainWindow::describeMap()
{
    // Screen readers hear what the view shows; nothing on the window changes.
    const MapDocument& document = editor_.document();
    mapa_->setAccessibleDescription(
        document.mapLoaded ? QStringLiteral("Mapa de %1 por %2 celdas; la vista empieza en la "
                                            "columna %3, fila %4")
                                 .arg(document.maxwidth + 1)
                                 .arg(document.maxheight + 1)
                                 .arg(document.scrollX)
                                 .arg(document.scrollY)
                           : QStringLiteral("Sin mapa: elige Archivo, Nuevo o Abrir"));
}

void MainWindow::createMenu()
{
    // Captions without "&": no access keys, and no shortcuts.
    QMenu* archivo = menuBar()->addMenu(QStringLiteral("Archivo"));
    archivo->setObjectName(QStringLiteral("mnuarchivo"));
    const auto addItem = [archivo](const char* name, const QString& caption) {
        QAction* action = archivo->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    connect(addItem("mnuNuevo", QStringLiteral("Nuevo")), &QAction::triggered, this,
            &MainWindow::showNewMapDialog);
    connect(addItem("mnuAbrir", QStringLiteral("Abrir")), &QAction::triggered, &editor_,
            &Editor::open);
    connect(addItem("mnuGuardar", QStringLiteral("Guardar")), &QAction::triggered, &editor_,
            &Editor::save);
    connect(addItem("mnuSalir", QStringLiteral("Salir")), &QAction::triggered, this,
            &MainWindow::quit);
}

void MainWindow::showNewMapDialog()
{
    if (!nuevo_)
        nuevo_ = new NewMapDialog(*this, art_.icon());
    nuevo_->show();
    nuevo_->raise();
    nuevo_->activateWindow();
}

bool MainWindow::confirmQuit()
{
    return dialogs_.askYesNo(QStringLiteral("Editor"), QStringLiteral("¿De verdad deseas salir?"));
}

void MainWindow::quit()
{
    if (!confirmQuit())
        return;
    quitConfirmed_ = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!quitConfirmed_ && !confirmQuit()) {
        event->ignore();
        return;
    }
    if (nuevo_)
        nuevo_->close();
    event->accept();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Key preview: the window sees every key press before the focused control does.
    if (!keyPreview_ && windowHandle()) {
        windowHandle()->installEventFilter(this);
        keyPreview_ = true;
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == windowHandle() && event->type() == QEvent::KeyPress)
        editor_.keyPressed(static_cast<QKeyEvent*>(event)->key());
    return QMainWindow::eventFilter(watched, event); // the key goes on to the focused control
}

} // namespace quintaraz
