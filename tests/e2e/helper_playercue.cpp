// The media player alone, on cue: opens one sound file and plays it from the start each time a
// line "play" arrives on standard input, stops it on "stop", and ends at the end of input.
// bench/clicktosound.sh times it like a click, to tell the player's own way to the sound server
// apart from the work a click does before it starts the player.
//
// Usage: helper_playercue <host path of a sound file>

#include "platform/media/audioplayer.h"
#include "platform/platformerror.h"
#include "platform/winpath.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <sound file>\n", argv[0]);
        return 2;
    }
    platform::WinPath paths;
    paths.mapDrive(u'Z', QStringLiteral("/"));
    try {
        const std::unique_ptr<platform::MediaPlayer> player = platform::createAudioPlayer(paths);
        player->setFileName(
            paths.toWindows(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath()));
        player->open();
        std::cout << "ready" << std::endl;
        for (std::string line; std::getline(std::cin, line);) {
            if (line == "play") {
                player->setPosition(0);
                player->play();
            } else if (line == "stop") {
                player->stop();
            }
        }
    } catch (const platform::PlatformError &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.text()));
        return 1;
    }
    return 0;
}
