#pragma once

#include "editor.h"
#include "newmapdialog.h"

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

    // The three members that the new-map window uses.
    std::int16_t maxwidth() const { return editor_.maxwidth(); }
    std::int16_t maxheight() const { return editor_.maxheight(); }
    void setMaxwidth(std::int16_t width) { editor_.setMaxwidth(width); }
    void setMaxheight(std::int16_t height) { editor_.setMaxheight(height); }
    void newmap() { editor_.newmap(); }

    Editor& editor() { return editor_; }
    /** The open new-map window, if any. */
    NewMapDialog* newMapDialog() const { return nuevo_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls(const TileArt& art);
    void createMenu();
    void describeMap();
    void showNewMapDialog();
    void quit();
    bool confirmQuit();

    const TileArt& art_;
    UserDialogs& dialogs_;
    Editor editor_;
    MapView* mapa_ = nullptr;      // the map view
    QComboBox* jugador_ = nullptr; // the player chooser, "1" to "8"
    QLabel* altAn_ = nullptr;      // the map size
    QLabel* cxcy_ = nullptr;       // the scroll origin
    QLabel* xy_ = nullptr;         // the cell under the mouse
    QPointer<NewMapDialog> nuevo_; // the new-map window, while it is open
    bool quitConfirmed_ = false;
    bool keyPreview_ = false;
};

} // namespace quintaraz
