#include "widgets/mapfiledialog.h"

#include <QCompleter>
#include <QFileSystemModel>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QTreeView>

#include <functional>
#include <utility>

namespace quintaraz {

namespace {

/**
 * Qt's list of completions under the name field, as its completer makes it, which opens
 * only while typing there may take the keyboard away from the dialog.
 */
class CompletionList : public QListView {
public:
    explicit CompletionList(std::function<bool()> mayOpen)
        : mayOpen_(std::move(mayOpen))
    {
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setSelectionBehavior(QAbstractItemView::SelectRows);
        setSelectionMode(QAbstractItemView::SingleSelection);
    }

    void setVisible(bool visible) override
    {
        // Refused before it maps a window or grabs the keyboard. The completer keeps its
        // field, so keys that still come to a closed list reach the field.
        if (visible && !mayOpen_())
            return;
        QListView::setVisible(visible);
    }

private:
    std::function<bool()> mayOpen_;
};

} // namespace

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
    completions_ = name_->completer();
    if (completions_)
        completions_->setPopup(new CompletionList([this] { return typingInTheNameField(); }));
}

bool MapFileDialog::typingInTheNameField() const
{
    return isVisible() && isActiveWindow() && name_->hasFocus();
}

void MapFileDialog::done(int result)
{
    QFileDialog::done(result);
    // Closed by Enter while its list was open, Qt's dialog would leave the list over the map.
    if (completions_ && completions_->popup()->isVisible())
        completions_->popup()->hide();
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
