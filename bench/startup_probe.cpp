// Times a program from its start until its window shows on screen, painted: the moment
// a pixel of its client area turns the editor's teal. Needs an X server without a
// window manager, where new windows open at the top-left corner.
//   startup_probe PROGRAM [ARGUMENTS...]    prints milliseconds

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QThread>

#include <cstdio>

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    if (arguments.isEmpty())
        return 2;
    const QString program = arguments.takeFirst();
    QScreen* screen = QGuiApplication::primaryScreen();
    const QColor teal(0, 128, 128);
    const auto painted = [&] {
        return screen->grabWindow(0, 530, 300, 1, 1).toImage().pixelColor(0, 0) == teal;
    };
    if (painted())
        return 3; // something teal is on the screen already

    QProcess target;
    target.setProcessChannelMode(QProcess::ForwardedChannels);
    QElapsedTimer clock;
    clock.start();
    target.start(program, arguments);
    while (!painted()) {
        if (clock.elapsed() > 20000 || target.state() == QProcess::NotRunning)
            return 1;
        QThread::usleep(200);
    }
    const double milliseconds = double(clock.nsecsElapsed()) / 1e6;
    std::printf("%.2f\n", milliseconds);
    target.terminate();
    target.waitForFinished(5000);
    return 0;
}
