#include "editor/editor.h"

#include "document/mapfile.h"
#include "editor/edittools.h"
#include "editor/scrolling.h"

#include <QFileInfo>

#include <algorithm>

namespace quintaraz {

using Icon = UserDialogs::Icon;

Editor::Editor(const TileArt& art, UserDialogs& dialogs, QObject* parent)
    : QObject(parent)
    , renderer_(art)
    , dialogs_(dialogs)
    , sizeCaption_(QStringLiteral("Ancho y Alto"))
    , scrollCaption_(QStringLiteral("cx (0) cy (0)"))
    , pointerCaption_(QStringLiteral("Mouse: (x)(y)"))
{
}

void Editor::newmap()
{
    document_.clearForNewMap();
    clampScrollToMap();
    drawmap();
    showMapSize();
}

void Editor::selectTerrain(int terrain)
{
    quintaraz::selectTerrain(document_, terrain);
}

void Editor::selectStartTool()
{
    quintaraz::selectStartTool(document_);
}

void Editor::pressMap(QPointF pixel, std::optional<int> player)
{
    if (!document_.mapLoaded)
        return;
    const QPoint cell = MapRenderer::cellAt(pixel, document_.scrollX, document_.scrollY);
    if (pressCell(document_, cell.x(), cell.y(), player))
        drawmap();
}

void Editor::keyPressed(int key)
{
    if (!document_.mapLoaded)
        return;
    scrollByKey(document_, key);
    setScrollCaption(quintaraz::scrollCaption(document_));
    drawmap();
}

void Editor::pointerMoved(QPointF pixel)
{
    if (!document_.mapLoaded)
        return;
    const QPoint cell = MapRenderer::cellAt(pixel, document_.scrollX, document_.scrollY);
    pointerCaption_ = quintaraz::pointerCaption(cell);
    emit pointerCaptionChanged(pointerCaption_);
}

void Editor::open()
{
    const QString path = dialogs_.chooseFileToOpen();
    if (!path.isEmpty())
        openFile(path);
}

QString Editor::openFile(const QString& path)
{
    if (!hasMapExtension(QFileInfo(path).fileName())) {
        tell("Abrir mapa", "Selecciona un archivo .map", Icon::Error);
        return {};
    }
    const MapReading reading = readMapFile(path);
    switch (reading.outcome) {
    case LoadOutcome::Loaded:
        document_.setMap(reading.map);
        clampScrollToMap();
        drawmap();
        document_.mapLoaded = true;
        showMapSize();
        break;
    case LoadOutcome::FormatError:
        tell("Abrir Archivo", "El archivo está corrupto", Icon::Error);
        break;
    case LoadOutcome::NotReadable:
        tell("Abrir Archivo", "No se puede abrir el archivo", Icon::Error);
        break;
    case LoadOutcome::ReadFailure:
    case LoadOutcome::SizeRejected:
        // The user is told nothing here, as the editor has always done.
        return describeReading(reading);
    }
    return {};
}

void Editor::save()
{
    if (!document_.mapLoaded)
        return;
    const QString path = dialogs_.chooseFileToSave();
    if (path.isEmpty())
        return;
    const auto& placed = document_.startPlaced;
    if (!std::all_of(placed.begin(), placed.end(), [](bool p) { return p; })) {
        tell("Guardar Mapa", "Asigna los comienzos de los jugadores", Icon::Error);
        return;
    }
    if (!hasMapExtension(QFileInfo(path).fileName())) {
        tell("Guardar mapa", "Selecciona un archivo .map", Icon::Error);
        return;
    }
    QString reason;
    if (!savemap(document_, path, &reason)) {
        tell("Guardar Mapa", "No se ha podido guardar el mapa", Icon::Error, reason);
        return;
    }
    tell("Guardar Mapa", "Se ha guardado el mapa", Icon::Information);
}

void Editor::drawmap()
{
    renderer_.render(document_);
    emit viewChanged();
}

void Editor::tell(const char* title, const char* text, Icon icon, const QString& detail)
{
    dialogs_.showMessage(QString::fromUtf8(title), QString::fromUtf8(text), icon, detail);
}

void Editor::showMapSize()
{
    // One line break, which a label shows as two lines.
    sizeCaption_ =
        QStringLiteral("Ancho = %1\nAlto = %2").arg(document_.maxwidth).arg(document_.maxheight);
    emit sizeCaptionChanged(sizeCaption_);
}

void Editor::clampScrollToMap()
{
    // A smaller map must not leave the view, and the tools, on cells outside it.
    if (clampScroll(document_))
        setScrollCaption(quintaraz::scrollCaption(document_));
}

void Editor::setScrollCaption(const QString& caption)
{
    scrollCaption_ = caption;
    emit scrollCaptionChanged(scrollCaption_);
}

} // namespace quintaraz
