#include "editor/editor.h"

#include "editor/edittools.h"
#include "editor/scrolling.h"
#include "map/mapfilename.h"
#include "map/mapproblems.h"
#include "map/mapreading.h"
#include "map/maptext.h"
#include "render/ringpieces.h"

#include <QFileInfo>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace quintaraz {

Editor::Editor(const TileArt& art, UserDialogs& dialogs, QObject* parent)
    : QObject(parent)
    , renderer_(art)
    , tiles_(renderer_.tiles(cellSize, Qt::FastTransformation))
    , dialogs_(dialogs)
    , sizeCaption_(QStringLiteral("Ancho y Alto"))
    , scrollCaption_(QStringLiteral("cx (0) cy (0)"))
    , pointerCaption_(QStringLiteral("Mouse: (x)(y)"))
{
}

void Editor::newMap(int maxwidth, int maxheight)
{
    document_.newMap(maxwidth, maxheight);
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
    const QPoint was(document_.scrollX, document_.scrollY);
    scrollByKey(document_, key);
    setScrollCaption(quintaraz::scrollCaption(document_));
    scrollView(QPoint(document_.scrollX, document_.scrollY) - was);
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

void Editor::openFile(const QString& path)
{
    if (!hasMapExtension(QFileInfo(path).fileName())) {
        dialogs_.showMessage(EditorMessage::NotAMapToOpen);
        return;
    }
    const MapReading reading = readMapFile(path);
    if (reading.outcome == LoadOutcome::Loaded) {
        document_.open(reading.map);
        clampScrollToMap();
        drawmap();
        showMapSize();
        return;
    }
    // Every failure has a box, which says why in its detail; a read failure and a size out of
    // range once ended "Abrir" with nothing at all.
    const auto message = [](LoadOutcome outcome) {
        switch (outcome) {
        case LoadOutcome::FormatError:
            return EditorMessage::FileCorrupt;
        case LoadOutcome::ReadFailure:
            return EditorMessage::ReadFailed;
        case LoadOutcome::SizeRejected:
            return EditorMessage::SizeRejected;
        default:
            return EditorMessage::FileNotReadable;
        }
    };
    emit openFailed(path, describeReading(reading));
    dialogs_.showMessage(message(reading.outcome), openFailureDetail(reading, path));
}

void Editor::save()
{
    if (!document_.mapLoaded)
        return;
    const QString path = dialogs_.chooseFileToSave();
    if (path.isEmpty())
        return;
    const std::vector<MapProblem> problems = startProblems(document_.map);
    if (std::any_of(problems.begin(), problems.end(), [](const MapProblem& problem) {
            return problem.kind == ProblemKind::StartMissing;
        })) {
        dialogs_.showMessage(EditorMessage::StartsMissing);
        return;
    }
    if (!hasMapExtension(QFileInfo(path).fileName())) {
        dialogs_.showMessage(EditorMessage::NotAMapToSave);
        return;
    }
    QString reason;
    if (!savemap(document_.map, path, &reason)) {
        dialogs_.showMessage(EditorMessage::SaveFailed, reason);
        return;
    }
    dialogs_.showMessage(EditorMessage::Saved);
}

QImage Editor::view() const
{
    if (ringOrigin_.isNull())
        return view_;
    // Each line of the view is the ring's line from the origin on, then its line's start.
    QImage view(view_.size(), view_.format());
    const qsizetype pixel = view_.depth() / 8;
    const int left = viewOrigin().x();
    for (int y = 0; y < view.height(); ++y) {
        const uchar* line = view_.constScanLine((y + viewOrigin().y()) % view_.height());
        uchar* out = view.scanLine(y);
        std::memcpy(out, line + left * pixel, std::size_t((view.width() - left) * pixel));
        std::memcpy(out + (view.width() - left) * pixel, line, std::size_t(left * pixel));
    }
    return view;
}

QPoint Editor::viewOrigin() const
{
    return ringOrigin_ * cellSize;
}

void Editor::drawmap()
{
    if (view_.isNull())
        view_ = QImage(viewSize, viewSize, tiles_.format());
    ringOrigin_ = {};
    drawViewCells(QRect(0, 0, viewCells, viewCells));
    emit viewChanged();
}

void Editor::drawViewCells(QRect cells)
{
    // The cells the view shows lie in the map: it is never smaller than the view.
    for (const RingPiece columns :
         ringPieces(cells.left(), cells.width(), ringOrigin_.x(), viewCells))
        for (const RingPiece rows :
             ringPieces(cells.top(), cells.height(), ringOrigin_.y(), viewCells))
            if (columns.count > 0 && rows.count > 0)
                MapRenderer::draw(document_.map,
                                  QRect(document_.scrollX + columns.inView,
                                        document_.scrollY + rows.inView, columns.count, rows.count),
                                  tiles_, view_, QPoint(columns.inRing, rows.inRing) * cellSize);
}

void Editor::scrollView(QPoint delta)
{
    if (std::abs(delta.x()) >= viewCells || std::abs(delta.y()) >= viewCells) {
        drawmap();
        return;
    }
    // The cells that stay keep their place in the ring; those brought in take the places of
    // those that left.
    ringOrigin_ = QPoint((ringOrigin_.x() + delta.x() + viewCells) % viewCells,
                         (ringOrigin_.y() + delta.y() + viewCells) % viewCells);
    if (delta.x() != 0)
        drawViewCells(delta.x() > 0 ? QRect(viewCells - delta.x(), 0, delta.x(), viewCells)
                                    : QRect(0, 0, -delta.x(), viewCells));
    if (delta.y() != 0)
        drawViewCells(delta.y() > 0 ? QRect(0, viewCells - delta.y(), viewCells, delta.y())
                                    : QRect(0, 0, viewCells, -delta.y()));
    // A key that moves nothing still has the view repainted, as the editor always did.
    emit viewChanged();
}

void Editor::showMapSize()
{
    // One line break, which a label shows as two lines.
    sizeCaption_ = QStringLiteral("Ancho = %1\nAlto = %2")
                       .arg(document_.map.maxwidth)
                       .arg(document_.map.maxheight);
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
