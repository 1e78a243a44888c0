#include "app/mapfiledialog.h"

#include <QFileSystemModel>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>

namespace quintaraz {

void MapFileDialog::accept()
{
    // A desktop's own dialog, where there is one, has no such widgets and chooses by itself.
    const auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    const auto* list = findChild<QListView*>(QStringLiteral("listView"));
    if (name && list && !name->text().isEmpty()) {
        QItemSelectionModel* selection = list->selectionModel();
        const QModelIndexList rows = selection->selectedRows();
        const bool showsSelection =
            rows.size() == 1 && rows.constFirst().data(QFileSystemModel::FilePathRole).toString() ==
                                    directory().absoluteFilePath(name->text());
        // Without a selection the dialog takes the typed name, for its question too.
        if (!showsSelection)
            selection->clearSelection();
    }
    QFileDialog::accept();
}

} // namespace quintaraz
