#include "support/tempdrive.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

class TestIniCrash : public QObject
{
    Q_OBJECT

private slots:
    void killedWriterLeavesOldOrNewKit();
};

void TestIniCrash::killedWriterLeavesOldOrNewKit()
{
    // A writer killed at any moment leaves the kit whole: the old file or the new, never a broken one.
    TempDrive drive;
    const QString kit = QStringLiteral("C:\\KARVEL\\TEMES\\First.qbk");
    QByteArray rest;
    for (int n = 2; n <= 50; ++n)
        rest += "Button" + QByteArray::number(n) + "=" + QByteArray(200, 'x') + "\r\n";
    const QByteArray initial = "[Section1]\r\nButton1=start\r\n" + rest;
    const QByteArray withA = "[Section1]\r\nButton1=" + QByteArray(3000, 'A') + "\r\n" + rest;
    const QByteArray withB = "[Section1]\r\nButton1=" + QByteArray(3000, 'B') + "\r\n" + rest;
    drive.write(kit, initial);

    const QByteArray writer = QFile::encodeName(QCoreApplication::applicationDirPath() + "/helper_kitwriter");
    const QByteArray root = QFile::encodeName(drive.root());
    const QByteArray kitArgument = kit.toLocal8Bit();
    int sawA = 0, sawB = 0;
    for (int kill = 0; kill < 200; ++kill) {
        // The writer arms a kernel timer that kills it after a random time; nothing here waits on a clock.
        const QByteArray lifetime = QByteArray::number(QRandomGenerator::global()->bounded(2000, 40000));
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ::execl(writer.constData(), writer.constData(), root.constData(), kitArgument.constData(),
                    lifetime.constData(), nullptr);
            ::_exit(127);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        QVERIFY2(WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM, "the writer did not die by its timer");

        const QByteArray now = drive.read(kit);
        QVERIFY2(now == initial || now == withA || now == withB,
                 qPrintable(QStringLiteral("broken kit after kill %1: %2 bytes").arg(kill).arg(now.size())));
        sawA += now == withA;
        sawB += now == withB;
    }
    // The kills must have caught the writer at work, not only before its first write.
    QVERIFY(sawA > 0 && sawB > 0);
}

QTEST_GUILESS_MAIN(TestIniCrash)
#include "tst_inicrash.moc"
