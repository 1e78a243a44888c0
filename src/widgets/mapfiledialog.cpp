#include "widgets/mapfiledialog.h"

#include <QFileSystemModel>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QTreeView>

namespace quintaraz {

MapFileDialog::MapFileDialog(QWidget* parent)
    : QFileDialog(parent)
{
    // A desktop's own dialog, where there is one, has no such widgets and chooses by itself.
    name_ = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    list_ = findChild<QListView*>(QStringLiteral("listView"));
    details_ = findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!name_ || !list_)
        return;
    // The list and the detailed view share one selection. Qt's dialog copies it into the
    // name field whenever the field lacks the focus; here only a choice in the list does.
    QItemSelectionModel* selection = list_->selectionModel();
    disconnect(selection, &QItemSelectionModel::selectionChanged, this, nullptr);
    connect(selection, &QItemSelectionModel::selectionChanged, this,
            &MapFileDialog::nameChosenFiles);
}

void MapFileDialog::nameChosenFiles()
{
    const bool choosingInTheList = list_->hasFocus() || (details_ && details_->hasFocus());
    if (!choosingInTheList)
        return;
    const auto* files = qobject_cast<const QFileSystemModel*>(list_->model());
    QStringList names;
    for (const QModelIndex& row : list_->selectionModel()->selectedRows())
        if (fileMode() == Directory || !files || !files->isDir(row))
            names.append(row.data().toString());
    if (names.size() > 1)
        for (QString& name : names)
            name = QLatin1Char('"') + name + QLatin1Char('"');
    if (!names.isEmpty())
        name_->setText(names.join(QLatin1Char(' ')));
}

void MapFileDialog::accept()
{
    if (name_ && list_ && !name_->text().isEmpty()) {
        QItemSelectionModel* selection = list_->selectionModel();
        const QModelIndexList rows = selection->selectedRows();
        const bool showsSelection =
            rows.size() == 1 && rows.constFirst().data(QFileSystemModel::FilePathRole).toString() ==
                                    directory().absoluteFilePath(name_->text());
        // Without a selection the dialog takes the typed name, for its question too.
        if (!showsSelection)
            selection->clearSelection();
    }
    QFileDialog::accept();
}

} // namespace quintaraz
