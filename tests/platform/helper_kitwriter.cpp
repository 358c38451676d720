// Writes one key of a kit over and over, alternating two values, until the kernel kills it
// after the given number of microseconds (SIGALRM, whose default action ends the process at once).
// Usage: helper_kitwriter <host folder of drive C> <kit as a Windows path> <microseconds>
#include "platform/inifile.h"

#include <QCoreApplication>

#include <cstdlib>
#include <sys/time.h>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 4)
        return 2;
    platform::WinPath paths;
    paths.mapDrive(u'C', QString::fromLocal8Bit(argv[1]));
    platform::ProfileStore store(paths);
    const platform::IniFile kit(store, QString::fromLocal8Bit(argv[2]));
    const QString values[2] = {QString(3000, u'A'), QString(3000, u'B')};
    const long micro = std::atol(argv[3]);
    const itimerval alarm{{0, 0}, {micro / 1000000, micro % 1000000}};
    ::setitimer(ITIMER_REAL, &alarm, nullptr);
    for (unsigned i = 0;; ++i)
        kit.writeString(u"Section1", u"Button1", values[i % 2]);
}
