#include "widgets/mainwindow.h"

#include "art/tileart.h"
#include "editor/edittools.h"
#include "editor/scrolling.h"
#include "editor/userdialogs.h"
#include "map/problemtext.h"
#include "map/terrain.h"
#include "widgets/editorfont.h"
#include "widgets/mapview.h"
#include "widgets/newmapdialog.h"
#include "widgets/picturebox.h"
#include "widgets/placedlabel.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QWindow>

namespace quintaraz {

namespace {

// The palette on screen: three columns of two, not in index order.
struct PalettePlace {
    Terrain terrain;
    int left;
    int top;
};
constexpr std::array<PalettePlace, terrainCount> palettePlaces{{
    {Terrain::Grass, 424, 128},
    {Terrain::Rock, 488, 160},
    {Terrain::Water, 488, 128},
    {Terrain::Tree, 424, 160},
    {Terrain::SoilPatch, 456, 160},
    {Terrain::BareEarth, 456, 128},
}};

constexpr int pictureBoxSize = cellSize + 4; // the picture in a 2-pixel border

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

    connect(&editor_, &Editor::viewChanged, mapView_,
            [this] { mapView_->setOrigin(editor_.viewOrigin()); });
    connect(&editor_, &Editor::sizeCaptionChanged, sizeLabel_, &QLabel::setText);
    connect(&editor_, &Editor::scrollCaptionChanged, scrollLabel_, &QLabel::setText);
    connect(&editor_, &Editor::pointerCaptionChanged, pointerLabel_, &QLabel::setText);
    connect(&editor_, &Editor::sizeCaptionChanged, this, &MainWindow::describeMap);
    connect(&editor_, &Editor::scrollCaptionChanged, this, &MainWindow::describeMap);

    // Load: the terrain tool with terrain 0 and the view at the origin are the
    // document's own initial state; the chooser starts at its first player.
    playerChooser_->setCurrentIndex(0);
    mapView_->setFocus();
}

MainWindow::~MainWindow()
{
    delete newMapDialog_.data();
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

    createMapView(client);
    terrainPictures_ = createPalette(client, art);
    createLabels(client);
    startPicture_ = createStartTool(client, art);
    createPlayerChooser(client);
    showActiveTool();

    // The order of the layout's table: palette pictures by index, with the start tool and
    // the chooser between terrains 2 and 3.
    const auto& terrains = terrainPictures_;
    PictureBox* start = startPicture_;
    QWidget::setTabOrder(mapView_, terrains[0]);
    QWidget::setTabOrder(terrains[0], terrains[1]);
    QWidget::setTabOrder(terrains[1], terrains[2]);
    QWidget::setTabOrder(terrains[2], start);
    QWidget::setTabOrder(start, playerChooser_);
    QWidget::setTabOrder(playerChooser_, terrains[3]);
    QWidget::setTabOrder(terrains[3], terrains[4]);
    QWidget::setTabOrder(terrains[4], terrains[5]);
}

void MainWindow::createMapView(QWidget* client)
{
    mapView_ = new MapView(client);
    mapView_->setGeometry(0, 0, viewSize, viewSize);
    mapView_->setAccessibleName(QStringLiteral("Mapa"));
    describeMap();
    mapView_->setPicture(&editor_.viewRing());
    // The chooser's text becomes a player, or none, where it is read.
    connect(mapView_, &MapView::pressed, this, [this](QPointF pixel) {
        editor_.pressMap(pixel, playerForChooserText(playerChooser_->currentText()));
    });
    connect(mapView_, &MapView::moved, &editor_, &Editor::pointerMoved);
}

std::array<PictureBox*, terrainCount> MainWindow::createPalette(QWidget* client, const TileArt& art)
{
    std::array<PictureBox*, terrainCount> terrains{};
    for (const PalettePlace& place : palettePlaces) {
        const int terrain = terrainNumber(place.terrain);
        auto* picture = new PictureBox(art.terrain(terrain), client);
        picture->setObjectName(QStringLiteral("terrimg%1").arg(terrain));
        // What a screen reader says for the picture.
        picture->setAccessibleName(QString::fromUtf8(terrainNames[terrain]));
        picture->setAccessibleDescription(QStringLiteral("Pinta este terreno"));
        picture->setGeometry(place.left, place.top, pictureBoxSize, pictureBoxSize);
        connect(picture, &PictureBox::clicked, this, [this, terrain] {
            editor_.selectTerrain(terrain);
            showActiveTool();
        });
        terrains[terrain] = picture;
    }
    return terrains;
}

void MainWindow::createLabels(QWidget* client)
{
    const QColor white = Qt::white;
    placedLabel(client, QStringLiteral("Label1"), QStringLiteral("Terreno"), {456, 104, 41, 17},
                white);
    pointerLabel_ = placedLabel(client, QStringLiteral("xy"), editor_.pointerCaption(),
                                {432, 80, 89, 25}, white, CaptionChanges::Often);
    scrollLabel_ = placedLabel(client, QStringLiteral("cxcy"), editor_.scrollCaption(),
                               {432, 48, 89, 25}, white, CaptionChanges::Often);
    sizeLabel_ = placedLabel(client, QStringLiteral("AltAn"), editor_.sizeCaption(),
                             {424, 8, 97, 25}, white);
    placedLabel(client, QStringLiteral("Label2"), QStringLiteral("Comienzo"), {456, 208, 49, 17},
                white);
}

PictureBox* MainWindow::createStartTool(QWidget* client, const TileArt& art)
{
    auto* start = new PictureBox(art.startPicture(), client);
    start->setObjectName(QStringLiteral("start"));
    start->setAccessibleName(QStringLiteral("Comienzo de jugador"));
    start->setAccessibleDescription(QStringLiteral("Coloca el comienzo del jugador elegido"));
    start->setGeometry(456, 232, pictureBoxSize, pictureBoxSize);
    connect(start, &PictureBox::clicked, this, [this] {
        editor_.selectStartTool();
        showActiveTool();
    });
    return start;
}

void MainWindow::createPlayerChooser(QWidget* client)
{
    QLabel* heading = placedLabel(client, QStringLiteral("Label3"), QStringLiteral("Jugador"),
                                  {408, 272, 49, 17}, Qt::white);
    playerChooser_ = new QComboBox(client);
    playerChooser_->setObjectName(QStringLiteral("jugador"));
    playerChooser_->setAccessibleName(QStringLiteral("Jugador"));
    // On Linux a screen reader names a combo box by the label that it is the buddy of.
    heading->setBuddy(playerChooser_);
    playerChooser_->setGeometry(456, 272, 57, 21);
    playerChooser_->setEditable(true);
    playerChooser_->setInsertPolicy(QComboBox::NoInsert);
    for (int player = 1; player <= playerCount; ++player)
        playerChooser_->addItem(QString::number(player));
}

void MainWindow::describeMap()
{
    // Screen readers hear what the view shows; nothing on the window changes.
    const MapDocument& document = editor_.document();
    mapView_->setAccessibleDescription(
        document.mapLoaded ? QStringLiteral("Mapa de %1 por %2 casillas; la vista empieza en la %3")
                                 .arg(document.map.maxwidth + 1)
                                 .arg(document.map.maxheight + 1)
                                 .arg(cellPlace(document.scrollX, document.scrollY))
                           : QStringLiteral("Sin mapa: elige Archivo, Nuevo o Abrir"));
}

void MainWindow::showActiveTool()
{
    const MapDocument& document = editor_.document();
    const bool terrainTool = document.toolMode == ToolMode::Terrain;
    for (int terrain = 0; terrain < terrainCount; ++terrain)
        terrainPictures_[terrain]->setActive(terrainTool && document.selectedTerrain == terrain);
    startPicture_->setActive(!terrainTool);
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
    if (!newMapDialog_) {
        newMapDialog_ = new NewMapDialog(*this, art_.icon());
        connect(newMapDialog_, &NewMapDialog::sizeChosen, &editor_, &Editor::newMap);
    }
    newMapDialog_->show();
    newMapDialog_->raise();
    newMapDialog_->activateWindow();
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
    if (newMapDialog_)
        newMapDialog_->close();
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
