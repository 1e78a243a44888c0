#include "editor/editormessage.h"

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

} // namespace quintaraz
