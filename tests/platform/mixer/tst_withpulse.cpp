#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

namespace {

QString script()
{
    return QDir(KARVEL_TEST_DATA).absoluteFilePath("../../scripts/with-pulse.sh");
}

} // namespace

/**
 * scripts/with-pulse.sh runs a command inside a sound server of its own, whose default sink is
 * the null sink, returns the command's status and leaves no server behind.
 */
class TestWithPulse : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void runsTheCommandInsideItsServer_data();
    void runsTheCommandInsideItsServer();
};

void TestWithPulse::initTestCase()
{
    if (QStandardPaths::findExecutable("pulseaudio").isEmpty() ||
        QStandardPaths::findExecutable("pactl").isEmpty()) {
        QSKIP("needs the packages pulseaudio and pulseaudio-utils");
    }
}

void TestWithPulse::runsTheCommandInsideItsServer_data()
{
    QTest::addColumn<QString>("ending");
    QTest::addColumn<int>("status");

    QTest::newRow("succeeds") << "exit 0" << 0;
    QTest::newRow("fails") << "exit 7" << 7;
    QTest::newRow("killed") << "kill -TERM $$" << 143;
}

void TestWithPulse::runsTheCommandInsideItsServer()
{
    // The command reaches the server and its null sink; the script returns the command's status
    // and afterwards the server no longer answers and its runtime folder is gone.
    QFETCH(QString, ending);
    QFETCH(int, status);
    QProcess run;
    run.start(script(), {"sh", "-c",
                         "echo \"$PULSE_SERVER\"; echo \"$XDG_RUNTIME_DIR\"; "
                         "pactl get-default-sink; " +
                             ending});
    QVERIFY(run.waitForFinished(60000));
    const QStringList lines = QString::fromLocal8Bit(run.readAllStandardOutput()).split('\n');
    QCOMPARE(run.exitCode(), status);
    QVERIFY2(lines.size() >= 3, qPrintable(lines.join('\n')));
    const QString server = lines.at(0);
    QVERIFY2(server.startsWith("unix:"), qPrintable(server));
    QCOMPARE(lines.at(2), QString("karvel_null"));
    QVERIFY(!QDir(lines.at(1)).exists());

    QProcess after;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PULSE_SERVER", server);
    after.setProcessEnvironment(environment);
    after.start("pactl", {"info"});
    QVERIFY(after.waitForFinished(30000));
    QVERIFY(after.exitCode() != 0);
}

QTEST_GUILESS_MAIN(TestWithPulse)
#include "tst_withpulse.moc"
