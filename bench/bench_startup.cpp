// The time from the start of the process to the filled board: the program's own start-up
// (the windows created, the demo kit read, the board filled), under the offscreen platform.
// Each run is a process of its own; the figure is their mean.

#include "app/fonts.h"
#include "app/program.h"
#include "platform/errorboundary.h"
#include "platform/inifile.h"
#include "platform/media/testmediaplayer.h"
#include "platform/mixer/memorymixer.h"
#include "platform/shell/recordingshell.h"
#include "platform/sysinfo/fakesysteminfo.h"
#include "support/scripteddialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

// Milliseconds since this process started, from the kernel's record of its start (10 ms ticks).
double millisecondsSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    stat.open(QIODevice::ReadOnly);
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble(); // field 22 of the whole line
    timespec now;
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    return (now.tv_sec + now.tv_nsec / 1e9) * 1e3 - startTicks * 1e3 / double(::sysconf(_SC_CLK_TCK));
}

int startOnce(int argc, char **argv, const QString &driveC)
{
    QApplication application(argc, argv);
    installFontSubstitutes();
    platform::WinPath paths;
    paths.mapDrive(u'C', driveC);
    platform::ProfileStore profiles(paths);
    ScriptedDialogs dialogs;
    platform::ErrorBoundary boundary(dialogs);
    platform::TestMediaPlayer player(paths);
    platform::MemoryMixer mixer;
    platform::FakeSystemInfo system;
    platform::RecordingShell shell;
    const Services services{paths, profiles, dialogs, boundary, player, mixer, system, shell};
    BaseState state;
    Program program(state, services);
    program.BaseForm.show();
    QCoreApplication::processEvents();
    std::printf("%.1f\n", millisecondsSinceProcessStart());
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return startOnce(1, argv, QString::fromLocal8Bit(argv[2]));

    QTemporaryDir dir;
    QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), QStringLiteral(KARVEL_DEMO_DRIVE), dir.path() + QStringLiteral("/drive_c")});
    const int runs = 20;
    double total = 0;
    for (int run = 0; run < runs; ++run) {
        QProcess child;
        child.start(QString::fromLocal8Bit(argv[0]), {QStringLiteral("--child"), dir.path() + QStringLiteral("/drive_c")});
        child.waitForFinished(30000);
        total += child.readAllStandardOutput().trimmed().toDouble();
    }
    std::printf("FIGURE | %-44s | %10.1f ms | goal %-10s | mean of %d processes, 10 ms clock ticks\n",
                "process start to filled board (demo kit)", total / runs, "no goal", runs);
    return 0;
}
