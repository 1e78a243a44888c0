#pragma once

#include "editor/editor.h"
#include "widgets/newmapdialog.h"

#include <QMainWindow>
#include <QPointer>

#include <array>

class QComboBox;
class QLabel;

namespace quintaraz {

class MapView;
class PictureBox;
class TileArt;
class UserDialogs;

/** The editor's main window ("main"): the map view, the palette, the labels and the menu. */
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(const TileArt& art, UserDialogs& dialogs, QWidget* parent = nullptr);
    ~MainWindow() override;

    Editor& editor() { return editor_; }
    /** The open new-map window, if any. */
    NewMapDialog* newMapDialog() const { return newMapDialog_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createMenu();
    void createControls(const TileArt& art);
    void createMapView(QWidget* client);
    std::array<PictureBox*, terrainCount> createPalette(QWidget* client, const TileArt& art);
    void createLabels(QWidget* client);
    PictureBox* createStartTool(QWidget* client, const TileArt& art);
    void createPlayerChooser(QWidget* client);
    void describeMap();
    /** Marks the picture of the tool in use as active, for screen readers. */
    void showActiveTool();
    void showNewMapDialog();
    void quit();
    bool confirmQuit();

    const TileArt& art_;
    UserDialogs& dialogs_;
    Editor editor_;
    MapView* mapView_ = nullptr;
    std::array<PictureBox*, terrainCount> terrainPictures_{}; // by terrain number
    PictureBox* startPicture_ = nullptr;
    QComboBox* playerChooser_ = nullptr; // "1" to "8"
    QLabel* sizeLabel_ = nullptr;
    QLabel* scrollLabel_ = nullptr;
    QLabel* pointerLabel_ = nullptr;      // the cell under the mouse
    QPointer<NewMapDialog> newMapDialog_; // while it is open
    bool quitConfirmed_ = false;
    bool keyPreview_ = false;
};

} // namespace quintaraz
