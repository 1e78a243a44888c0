#include "editor/editormessage.h"

#include "map/gamemap.h"
#include "map/mapreading.h"
#include "system/filenames.h"

#include <QFileInfo>

namespace quintaraz {

MessageWords messageWords(EditorMessage message)
{
    // The titles differ in case as they always have: users and their scripts know them so.
    switch (message) {
    case EditorMessage::NotAMapToOpen:
        return {QStringLiteral("Abrir mapa"), QStringLiteral("Selecciona un archivo .map")};
    case EditorMessage::FileCorrupt:
        return {QStringLiteral("Abrir Archivo"), QStringLiteral("El archivo está corrupto")};
    case EditorMessage::FileNotReadable:
        return {QStringLiteral("Abrir Archivo"), QStringLiteral("No se puede abrir el archivo")};
    case EditorMessage::SizeRejected:
        return {QStringLiteral("Abrir Archivo"),
                QStringLiteral("El mapa debe medir de %1 a %2 casillas de ancho y de alto")
                    .arg(mapSizeLimits.lowest + 1)
                    .arg(mapSizeLimits.highest + 1)};
    case EditorMessage::ReadFailed:
        return {QStringLiteral("Abrir Archivo"),
                QStringLiteral("Al archivo le falta una parte del mapa o tiene un número fuera "
                               "de rango")};
    case EditorMessage::StartsMissing:
        return {QStringLiteral("Guardar Mapa"),
                QStringLiteral("Asigna los comienzos de los jugadores")};
    case EditorMessage::NotAMapToSave:
        return {QStringLiteral("Guardar mapa"), QStringLiteral("Selecciona un archivo .map")};
    case EditorMessage::SaveFailed:
        return {QStringLiteral("Guardar Mapa"), QStringLiteral("No se ha podido guardar el mapa")};
    case EditorMessage::Saved:
        return {QStringLiteral("Guardar Mapa"), QStringLiteral("Se ha guardado el mapa"), false};
    }
    return {};
}

QString openFailureDetail(const MapReading& reading, const QString& path)
{
    const QFileInfo file(path);
    if (reading.otherFile != OtherFile::ConflictMarkers)
        return describeReading(reading, shellQuoted(file.absoluteFilePath()));
    // The editor's user may never have opened a terminal in the repository: the whole line.
    return QStringLiteral("Este mapa tiene las marcas de conflicto que git escribe cuando no "
                          "conoce el mezclador de mapas. Para que git lo mezcle casilla a "
                          "casilla, ejecute en una terminal:\n\n"
                          "cd -- %1 && quintaraz-map git-setup && git checkout -m -- %2\n\n"
                          "quintaraz-map git-setup se ejecuta una vez en cada copia del "
                          "repositorio (o una sola vez con --global, para todas las del "
                          "usuario); git checkout -m vuelve a mezclar el mapa, ya con el "
                          "mezclador de mapas.")
        .arg(shellQuoted(file.absolutePath()), shellQuoted(file.fileName()));
}

} // namespace quintaraz
