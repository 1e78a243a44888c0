#include "system/systemerror.h"

#include <cerrno>
#include <cstring>

namespace quintaraz {

QString systemErrorText(int error)
{
    const char* text = nullptr;
    switch (error) {
    case ENOSPC:
        text = "no queda espacio en el disco";
        break;
    case EDQUOT:
        text = "se ha agotado la cuota de disco";
        break;
    case EFBIG:
        text = "el archivo superaría el tamaño que el sistema permite";
        break;
    case EIO:
        text = "error de entrada o salida del disco";
        break;
    case EACCES:
        text = "permiso denegado";
        break;
    case EPERM:
        text = "operación no permitida";
        break;
    case EROFS:
        text = "el disco es de solo lectura";
        break;
    case ENOENT:
        text = "no existe el archivo o la carpeta";
        break;
    case ENOTDIR:
        text = "una parte de la ruta no es una carpeta";
        break;
    case EISDIR:
        text = "es una carpeta";
        break;
    case ENAMETOOLONG:
        text = "el nombre es demasiado largo";
        break;
    case ELOOP:
        text = "hay demasiados enlaces simbólicos en la ruta";
        break;
    case EMFILE:
    case ENFILE:
        text = "hay demasiados archivos abiertos";
        break;
    case ENOMEM:
        text = "no hay memoria suficiente";
        break;
    case EPIPE:
        text = "el otro extremo de la tubería está cerrado";
        break;
    case ENXIO:
        text = "no hay nadie al otro lado del dispositivo o de la tubería";
        break;
    case ETXTBSY:
        text = "el archivo está en uso";
        break;
    case EBUSY:
        text = "el dispositivo o el recurso está ocupado";
        break;
    case EXDEV:
        text = "el archivo y su carpeta están en discos distintos";
        break;
    case ESTALE:
        text = "el archivo remoto ya no existe";
        break;
    default:
        return QStringLiteral("error del sistema %1 (%2)")
            .arg(error)
            .arg(QString::fromLocal8Bit(std::strerror(error)));
    }
    return QString::fromUtf8(text);
}

} // namespace quintaraz
