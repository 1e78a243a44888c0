// The floor for the thumbnailer: a program that links QtGui, loads one PNG and writes one.
//   minimal_png IN.png OUT.png

#include <QCoreApplication>
#include <QImage>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    if (argc != 3)
        return 2;
    return QImage(QString::fromLocal8Bit(argv[1])).save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0
                                                                                                : 1;
}
