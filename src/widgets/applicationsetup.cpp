#include "widgets/applicationsetup.h"

#include "art/tileart.h"
#include "system/toolkittexts.h"
#include "widgets/editorfont.h"

#include <QApplication>
#include <QIcon>

namespace quintaraz {

void setUpApplication(QApplication& application, const TileArt& art)
{
    // The name screen readers and the desktop's window list give the program.
    QApplication::setApplicationName(QStringLiteral("Quintaraz Editor"));
    QApplication::setApplicationVersion(QStringLiteral(QUINTARAZ_VERSION));

    // Every text the user sees is Spanish, the toolkit's own dialogs included.
    installSpanishToolkitTexts(application);

    // One typeface for the whole program, menus and dialogs included: a second one would
    // cost start-up time to find and load.
    QApplication::setFont(editorTypeface(QApplication::font()));
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(art.icon())));
    // Ties the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quintaraz.Editor"));
}

} // namespace quintaraz
