// Loaded into the editor by the end-to-end tests (LD_PRELOAD). Asked with SIGUSR1, the
// editor writes what it holds into the file that QUINTARAZ_PROBE_STATE names: its windows,
// the active one, the keyboard focus, each file dialog's name field and list. Tests wait on
// it (the name field holding every key typed), and a failed test prints it beside its
// screenshot. Until asked, the probe does nothing.

#include <QAbstractItemView>
#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSaveFile>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int requests[2] = {-1, -1};

void stateAsked(int)
{
    const char request = 1;
    [[maybe_unused]] const ssize_t written = ::write(requests[1], &request, 1);
}

// At load, before the editor's main: a request that comes before the event loop runs waits
// in the pipe instead of ending the editor, which SIGUSR1 does by default.
[[gnu::constructor]] void listenForRequests()
{
    if (::pipe2(requests, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action = {};
    action.sa_handler = stateAsked;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGUSR1, &action, nullptr);
}

QString describe(const QWidget* widget)
{
    if (!widget)
        return QStringLiteral("none");
    QString text = QString::fromLatin1(widget->metaObject()->className());
    if (!widget->objectName().isEmpty())
        text += QStringLiteral(" \"%1\"").arg(widget->objectName());
    if (widget->isWindow()) {
        text += QStringLiteral(" «%1»").arg(widget->windowTitle());
        if (widget->internalWinId())
            text += QStringLiteral(" 0x%1").arg(widget->internalWinId(), 0, 16);
    }
    return text;
}

QString names(const QModelIndexList& indexes)
{
    QStringList names;
    for (const QModelIndex& index : indexes) {
        // Whole paths where the list shows files: the dialog also selects their folders.
        const QVariant path = index.data(QFileSystemModel::FilePathRole);
        names.append(path.isValid() ? path.toString() : index.data().toString());
    }
    return names.join(QStringLiteral(", "));
}

/** The first rows a list shows, such as the completions offered under a name field. */
QModelIndexList firstRows(const QAbstractItemView& view)
{
    QModelIndexList indexes;
    const QAbstractItemModel& model = *view.model();
    for (int row = 0; row < model.rowCount(view.rootIndex()) && row < 20; ++row)
        indexes.append(model.index(row, 0, view.rootIndex()));
    return indexes;
}

void describeFileDialog(QTextStream& out, const QFileDialog& dialog)
{
    const auto* name = dialog.findChild<const QLineEdit*>(QStringLiteral("fileNameEdit"));
    const auto* list = dialog.findChild<const QAbstractItemView*>(QStringLiteral("listView"));
    out << (dialog.isVisible() ? "file dialog «" : "hidden file dialog «") << dialog.windowTitle()
        << "» in " << dialog.directory().absolutePath() << ", chose ["
        << dialog.selectedFiles().join(QStringLiteral(", ")) << "]"
        << "\n  name field: "
        << (name ? QStringLiteral("«%1»").arg(name->text()) : QStringLiteral("none")) << '\n';
    if (list && list->selectionModel())
        out << "  selected in the list: [" << names(list->selectionModel()->selectedRows())
            << "] of " << list->model()->rowCount(list->rootIndex()) << " rows\n";
}

void writeState()
{
    QString text;
    QTextStream out(&text);
    out << "active window: " << describe(QApplication::activeWindow()) << '\n'
        << "focus widget: " << describe(QApplication::focusWidget()) << '\n'
        << "popup: " << describe(QApplication::activePopupWidget()) << '\n'
        << "modal window: " << describe(QApplication::activeModalWidget()) << '\n';
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        const QRect frame = window->frameGeometry();
        out << "window " << describe(window) << " at " << frame.x() << ',' << frame.y() << ' '
            << frame.width() << 'x' << frame.height() << ", its focus "
            << describe(window->focusWidget()) << '\n';
        if (const auto* list = qobject_cast<const QAbstractItemView*>(window);
            list && list->model())
            out << "  rows: [" << names(firstRows(*list)) << "], current «"
                << list->currentIndex().data().toString() << "»\n";
        if (const auto* box = qobject_cast<const QMessageBox*>(window))
            out << "  says «" << box->text() << "», in detail «" << box->detailedText() << "»\n";
    }
    // Hidden too: the last name a file dialog gave is what the editor opened or wrote.
    for (const QWidget* window : QApplication::topLevelWidgets())
        if (const auto* dialog = qobject_cast<const QFileDialog*>(window))
            describeFileDialog(out, *dialog);
    out.flush();
    QSaveFile file(QString::fromLocal8Bit(qgetenv("QUINTARAZ_PROBE_STATE")));
    if (file.open(QIODevice::WriteOnly))
        file.write(text.toUtf8());
    file.commit();
}

void answerRequests()
{
    // The editor reads its command line with a core application first; only the one with
    // windows answers.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()) || requests[0] < 0)
        return;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [] {
            auto* notifier = new QSocketNotifier(requests[0], QSocketNotifier::Read,
                                                 QCoreApplication::instance());
            QObject::connect(notifier, &QSocketNotifier::activated, [] {
                char request[16];
                while (::read(requests[0], request, sizeof request) > 0) {
                }
                writeState();
            });
        },
        Qt::QueuedConnection);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(answerRequests)
