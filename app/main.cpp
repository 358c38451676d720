#include "app/firstrun.h"
#include "app/fonts.h"
#include "app/program.h"
#include "platform/errorboundary.h"
#include "platform/inifile.h"
#include "platform/media/audioplayer.h"
#include "platform/mixer/mixer.h"
#include "platform/qtdialogs.h"
#include "platform/shell/shell.h"
#include "platform/sysinfo/systeminfo.h"
#include "platform/winpath.h"

#include <QApplication>

int main(int argc, char **argv)
{
    // The program takes nothing from its command line: Qt's own options are all it reads.
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Karvel"));
    installFontSubstitutes();

    const platform::WinPath paths = platform::WinPath::fromEnvironment();
    copyDemoDriveOnFirstRun(paths, installedDemoDrive());
    platform::ProfileStore profiles(paths);
    platform::QtDialogs dialogs(paths, QStringLiteral("Karvel"));
    platform::ErrorBoundary boundary(dialogs);
    // Made before the player, which asks it from the sound output's thread until it is gone.
    const std::unique_ptr<platform::Mixer> mixer = platform::createSystemMixer();
    // A song waits while a lower volume set with it is on its way to the sound server; a higher
    // one it may meet a few milliseconds into the song.
    const std::unique_ptr<platform::MediaPlayer> player =
        platform::createAudioPlayer(paths, [&volume = *mixer] { return !volume.lowering(); });
    platform::openSoundOutputEarly();
    const std::unique_ptr<platform::SystemInfo> system = platform::createHostSystemInfo(paths);
    const std::unique_ptr<platform::Shell> shell = platform::createDesktopShell();
    const Services services{paths, profiles, dialogs, boundary, *player, *mixer, *system, *shell};

    BaseState state;
    Program program(state, services);
    program.BaseForm.showMaximized();
    return application.exec();
}
