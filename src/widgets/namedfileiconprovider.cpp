#include "widgets/namedfileiconprovider.h"

#include <QMimeDatabase>

namespace quintaraz {

namespace {

/** The type that a file's name gives, or that its kind gives (a device, a pipe); never its
 * content. */
QMimeType typeByName(const QFileInfo& info)
{
    return QMimeDatabase().mimeTypeForFile(info, QMimeDatabase::MatchExtension);
}

} // namespace

QIcon NamedFileIconProvider::icon(const QFileInfo& info) const
{
    if (info.isRoot())
        return icon(Drive);
    if (info.isDir())
        return icon(Folder);
    const QMimeType type = typeByName(info);
    QIcon themed = QIcon::fromTheme(type.iconName());
    if (themed.isNull())
        themed = QIcon::fromTheme(type.genericIconName());
    return themed.isNull() ? icon(File) : themed;
}

QString NamedFileIconProvider::type(const QFileInfo& info) const
{
    if (info.isDir())
        return QFileIconProvider::type(info);
    const QMimeType type = typeByName(info);
    return type.comment().isEmpty() ? type.name() : type.comment();
}

} // namespace quintaraz
