// Prints the type that Qt's MIME database gives each file named, one a line, as a Qt file
// manager (pcmanfm-qt, Dolphin) would see it.
//   mimetypeof FILE...

#include <QCoreApplication>
#include <QMimeDatabase>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    const QMimeDatabase types;
    for (const QString& file : QCoreApplication::arguments().mid(1))
        out << types.mimeTypeForFile(file).name() << '\n';
    return 0;
}
