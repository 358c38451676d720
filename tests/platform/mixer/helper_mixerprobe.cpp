// Opens the system mixer once and prints what it found, for tests that need a process of their
// own (an environment that must hold from the first ALSA call on).
// Usage: helper_mixerprobe [value to write]
// Prints "open=<0|1> volume=<value read> ms=<time open() took>".
#include "platform/mixer/mixer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    auto mixer = platform::createSystemMixer();
    QElapsedTimer clock;
    clock.start();
    const bool opened = mixer->open();
    const qint64 ms = clock.elapsed();
    if (argc > 1) {
        mixer->setVolume(QString::fromLocal8Bit(argv[1]).toUInt());
    }
    QTextStream(stdout) << "open=" << int(opened) << " volume=" << mixer->volume() << " ms=" << ms
                        << Qt::endl;
    mixer->close();
    return 0;
}
