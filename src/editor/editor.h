#pragma once

#include "editor/mapdocument.h"
#include "editor/userdialogs.h"
#include "render/maprenderer.h"

#include <QObject>
#include <QPointF>
#include <QString>

#include <optional>

namespace quintaraz {

class TileArt;

/**
 * What the main window does, without the widgets: it owns the map document and
 * the composed view, runs the handlers and keeps the captions of the three labels.
 */
class Editor : public QObject {
    Q_OBJECT

public:
    Editor(const TileArt& art, UserDialogs& dialogs, QObject* parent = nullptr);

    const MapDocument& document() const { return document_; }
    /** For tests and benchmarks that build a map directly. */
    MapDocument& document() { return document_; }
    /** The view's picture: the cells it shows; null until a map exists. */
    const QImage& view() const { return view_; }

    /** "Nuevo Mapa" > "Aceptar": an empty grass map of those highest column and row. */
    void newMap(int maxwidth, int maxheight);

    void selectTerrain(int terrain);
    void selectStartTool();
    /** A mouse button pressed at a view pixel, with the player chosen in the chooser, if any. */
    void pressMap(QPointF pixel, std::optional<int> player);
    /** Any key pressed while the main window is active. */
    void keyPressed(int key);
    void pointerMoved(QPointF pixel);

    /** "Archivo" > "Abrir". */
    void open();
    /**
     * Opens a file as "Abrir" does once it has been chosen, messages included. Gives why
     * the file did not open when no message says so (a read failure, a size rejected).
     */
    QString openFile(const QString& path);
    /** "Archivo" > "Guardar". */
    void save();

    QString sizeCaption() const { return sizeCaption_; }
    QString scrollCaption() const { return scrollCaption_; }
    QString pointerCaption() const { return pointerCaption_; }

    /** Draws the visible cells again from the document and has the view show them. */
    void drawmap();

signals:
    void viewChanged();
    void sizeCaptionChanged(const QString& caption);
    void scrollCaptionChanged(const QString& caption);
    void pointerCaptionChanged(const QString& caption);

private:
    void showMapSize();
    void clampScrollToMap();
    void setScrollCaption(const QString& caption);

    MapDocument document_;
    MapRenderer renderer_;
    const MapRenderer::Tiles tiles_; // the view's, 25 pixels a cell
    QImage view_;
    UserDialogs& dialogs_;
    QString sizeCaption_;
    QString scrollCaption_;
    QString pointerCaption_;
};

} // namespace quintaraz
