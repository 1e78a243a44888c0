#include "editor.h"

#include "../document/mapfile.h"
#include "../edit/edittools.h"
#include "../view/scrolling.h"
#include "userdialogs.h"

#include <QFileInfo>

#include <algorithm>

namespace quintaraz {

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

void Editor::pressMap(QPointF pixel, const QString& chooserText)
{
    if (!document_.mapLoaded)
        return;
    const QPoint cell = MapRenderer::cellAt(pixel, document_.scrollX, document_.scrollY);
    if (pressCell(document_, cell.x(), cell.y(), playerForChooserText(chooserText)))
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
    if (path.isEmpty())
        return;
    if (!hasMapExtension(QFileInfo(path).fileName())) {
        dialogs_.showMessage(QStringLiteral("Abrir mapa"),
                             QStringLiteral("Selecciona un archivo .map"),
                             UserDialogs::Icon::Error);
        return;
    }
    switch (loadmap(document_, path)) {
    case LoadOutcome::Loaded:
        clampScrollToMap();
        drawmap();
        document_.mapLoaded = true;
        showMapSize();
        break;
    case LoadOutcome::FormatError:
        dialogs_.showMessage(QStringLiteral("Abrir Archivo"),
                             QStringLiteral("El archivo está corrupto"), UserDialogs::Icon::Error);
        break;
    case LoadOutcome::NotReadable:
        dialogs_.showMessage(QStringLiteral("Abrir Archivo"),
                             QStringLiteral("No se puede abrir el archivo"),
                             UserDialogs::Icon::Error);
        break;
    case LoadOutcome::ReadFailure:
    case LoadOutcome::SizeRejected:
        break;
    }
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
        dialogs_.showMessage(QStringLiteral("Guardar Mapa"),
                             QStringLiteral("Asigna los comienzos de los jugadores"),
                             UserDialogs::Icon::Error);
        return;
    }
    if (!hasMapExtension(QFileInfo(path).fileName())) {
        dialogs_.showMessage(QStringLiteral("Guardar mapa"),
                             QStringLiteral("Selecciona un archivo .map"),
                             UserDialogs::Icon::Error);
        return;
    }
    QString reason;
    if (!savemap(document_, path, &reason)) {
        dialogs_.showMessage(QStringLiteral("Guardar Mapa"),
                             QStringLiteral("No se ha podido guardar el mapa"),
                             UserDialogs::Icon::Error, reason);
        return;
    }
    dialogs_.showMessage(QStringLiteral("Guardar Mapa"), QStringLiteral("Se ha guardado el mapa"),
                         UserDialogs::Icon::Information);
}

void Editor::drawmap()
{
    renderer_.drawmap(document_);
    emit viewChanged();
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
