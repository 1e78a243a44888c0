#pragma once

#include <QFileIconProvider>

namespace quintaraz {

/**
 * The file dialog's icons and type names, taken from file names alone. The toolkit's own
 * provider reads every listed file to learn its type, and some files never answer a read
 * (/proc/kmsg, as root): the dialog, and the unsaved map with it, would hang for good.
 */
class NamedFileIconProvider : public QFileIconProvider {
public:
    using QFileIconProvider::icon;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;
};

} // namespace quintaraz
