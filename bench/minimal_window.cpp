// The floor for start-up time and memory: a plain Qt Widgets window of the editor's
// size, with a menu bar and the same teal client area, and nothing else.
//   minimal_window                  shows the window until it is closed
//   minimal_window --report-memory  prints its peak memory once shown, and ends

#include "peakmemory.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    QMenu* menu = window.menuBar()->addMenu(QStringLiteral("Archivo"));
    for (const char* item : {"Nuevo", "Abrir", "Guardar", "Salir"})
        menu->addAction(QString::fromLatin1(item));
    auto* client = new QWidget(&window);
    client->setAutoFillBackground(true);
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, QColor(0, 128, 128));
    client->setPalette(palette);
    window.setCentralWidget(client);
    window.resize(542, 399 + window.menuBar()->sizeHint().height());
    window.show();
    if (app.arguments().contains(QStringLiteral("--report-memory"))) {
        QTimer::singleShot(500, [] {
            std::printf("%ld\n", peakMemoryKilobytes());
            std::fflush(stdout);
            QCoreApplication::quit();
        });
    }
    return QApplication::exec();
}
