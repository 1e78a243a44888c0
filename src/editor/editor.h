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
    /** For tests and benchmarks that build a map directly; drawmap() shows what they built. */
    MapDocument& document() { return document_; }
    /** The view's picture as the window shows it: the cells it shows; null until a map exists. */
    QImage view() const;
    /**
     * The picture the view is drawn from: the cells it shows, kept as a ring, so that a scroll
     * draws only the cells it brings in. The view's top-left cell lies at viewOrigin(); the
     * cells after it go on across the picture's right and bottom edges from its left and top.
     */
    const QImage& viewRing() const { return view_; }
    QPoint viewOrigin() const;

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
     * Opens a file as "Abrir" does once it has been chosen, messages included; when it does
     * not open, says why with openFailed before its message box shows.
     */
    void openFile(const QString& path);
    /** "Archivo" > "Guardar". */
    void save();

    QString sizeCaption() const { return sizeCaption_; }
    QString scrollCaption() const { return scrollCaption_; }
    QString pointerCaption() const { return pointerCaption_; }

    /** Draws the visible cells again from the document and has the view show them. */
    void drawmap();

signals:
    void viewChanged();
    /** A file chosen to open did not open: why, in the map tool's words, as for a terminal. */
    void openFailed(const QString& path, const QString& reason);
    void sizeCaptionChanged(const QString& caption);
    void scrollCaptionChanged(const QString& caption);
    void pointerCaptionChanged(const QString& caption);

private:
    /** Draws cells of the view, a rectangle of view cells (0 to 15), where the ring keeps them. */
    void drawViewCells(QRect cells);
    /** The view moved by delta cells: draws the cells it brings in, or all of them if it jumped. */
    void scrollView(QPoint delta);
    void showMapSize();
    void clampScrollToMap();
    void setScrollCaption(const QString& caption);

    MapDocument document_;
    MapRenderer renderer_;
    const MapRenderer::Tiles tiles_; // the view's, 25 pixels a cell
    QImage view_;
    QPoint ringOrigin_; // the view's top-left cell in view_
    UserDialogs& dialogs_;
    QString sizeCaption_;
    QString scrollCaption_;
    QString pointerCaption_;
};

} // namespace quintaraz
