// Saves a map with the editor while the system refuses part of the save, lifts the fault,
// saves again, and reports what the user was told and what the disk holds.
//   savefault FAULT FOLDER
// FAULT is one of:
//   disk-full        a tmpfs mounted over FOLDER, filled up before the save
//   disk-fills       the same with 8 KB left, for a map of about 11 KB
//   file-size-limit  RLIMIT_FSIZE of 4 KB, for a map of about 20 KB
//   sync-fails       fsync fails with EIO (libfiu; run with its POSIX preload library)
//   rename-fails     rename fails with ENOSPC (libfiu, as above)
// Exit status 77: this machine cannot set up the fault (no mount namespace).

#include "art/tileart.h"
#include "editor/editor.h"
#include "fakedialogs.h"
#include "map/maptext.h"
#include "testmaps.h"

#include <QDir>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fiu-control.h>
#include <fiu.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace quintaraz;

namespace {

bool writeText(const char* path, const char* text)
{
    const int fd = open(path, O_WRONLY);
    const bool ok = fd >= 0 && write(fd, text, strlen(text)) == ssize_t(strlen(text));
    if (fd >= 0)
        close(fd);
    return ok;
}

/** A 64 KB tmpfs over folder, seen by this process only. */
bool mountSmallDisk(const char* folder)
{
    if (geteuid() == 0) {
        if (unshare(CLONE_NEWNS) != 0)
            return false;
    } else {
        const uid_t uid = geteuid();
        const gid_t gid = getegid();
        if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0 ||
            !writeText("/proc/self/setgroups", "deny") ||
            !writeText("/proc/self/uid_map", qPrintable(QStringLiteral("0 %1 1").arg(uid))) ||
            !writeText("/proc/self/gid_map", qPrintable(QStringLiteral("0 %1 1").arg(gid))))
            return false;
    }
    // The mount must not reach the rest of the system.
    return mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           mount("tmpfs", folder, "tmpfs", 0, "size=64k") == 0;
}

/** Fills the disk that holds path, then frees `left` bytes of it again. */
void fillDisk(const QString& path, off_t left)
{
    const int fd = open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT, 0600);
    const QByteArray block(4096, 'x');
    off_t size = 0;
    for (ssize_t n; (n = write(fd, block.constData(), size_t(block.size()))) > 0;)
        size += n;
    if (left > 0 && ftruncate(fd, size > left ? size - left : 0) != 0)
        std::perror("ftruncate");
    close(fd);
}

void report(const char* what, const QString& value)
{
    std::printf("%s: %s\n", what, qPrintable(value));
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3)
        return 2;
    std::setlocale(LC_ALL, "");
    const QByteArray fault = argv[1];
    const QString folder = QString::fromLocal8Bit(argv[2]);
    const QString path = folder + QStringLiteral("/mundo.map");
    const QString filler = folder + QStringLiteral("/relleno");

    if ((fault == "disk-full" || fault == "disk-fills") && !mountSmallDisk(argv[2])) {
        std::printf("no mount namespace here: %s\n", std::strerror(errno));
        return 77;
    }
    const QByteArray old = testmaps::exampleText();
    if (!testmaps::writeFile(path, old))
        return 3;
    const MapDocument map = fault == "disk-fills"        ? testmaps::mapOfSize(74, 74)
                            : fault == "file-size-limit" ? testmaps::mapOfSize(99, 99)
                                                         : testmaps::mapOfSize(20, 20);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    fiu_init(0);
    if (fault == "disk-full" || fault == "disk-fills") {
        fillDisk(filler, fault == "disk-fills" ? 8192 : 0);
    } else if (fault == "file-size-limit") {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{4096, limit.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
    } else if (fault == "sync-fails") {
        fiu_enable("posix/io/sync/fsync", 1, reinterpret_cast<void*>(std::intptr_t(EIO)), 0);
    } else if (fault == "rename-fails") {
        fiu_enable("posix/io/dir/rename", 1, reinterpret_cast<void*>(std::intptr_t(ENOSPC)), 0);
    } else {
        return 2;
    }

    const TileArt art;
    FakeDialogs dialogs;
    Editor editor(art, dialogs);
    editor.document() = map;
    dialogs.filesToChoose = {path, path};
    editor.save();

    fiu_disable("posix/io/sync/fsync");
    fiu_disable("posix/io/dir/rename");
    setrlimit(RLIMIT_FSIZE, &limit);
    QFile::remove(filler);

    // Each message as its kind's number, and the first one's detail.
    const auto shown = [&](qsizetype k) {
        return k < dialogs.messages.size() ? QString::number(int(dialogs.messages[k].kind))
                                           : QStringLiteral("none");
    };
    report("first save", shown(0) + u'|' + dialogs.messages.value(0).detail);
    const QByteArray onDisk = testmaps::readFile(path);
    report("old file", onDisk == old ? QStringLiteral("whole")
                                     : QStringLiteral("changed to %1 bytes").arg(onDisk.size()));
    QStringList leftOver = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    leftOver.removeAll(QStringLiteral("mundo.map"));
    report("left over", leftOver.join(u' '));
    editor.save();
    report("next save", shown(1));
    report("new file", testmaps::readFile(path) == mapText(map.map) ? QStringLiteral("whole")
                                                                    : QStringLiteral("wrong"));
    return 0;
}
