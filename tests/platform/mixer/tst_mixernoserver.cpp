#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

/** A Unix socket that listens but never accepts: connections wait, as at a stopped server. */
class DeafServer
{
public:
    bool listen(const QString &path)
    {
        const QByteArray name = QFile::encodeName(path);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (size_t(name.size()) >= sizeof address.sun_path) {
            return false;
        }
        memcpy(address.sun_path, name.constData(), size_t(name.size()));
        m_fd = socket(AF_UNIX, SOCK_STREAM, 0);
        return m_fd >= 0 &&
               bind(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
               ::listen(m_fd, 16) == 0;
    }
    ~DeafServer()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }

private:
    int m_fd = -1;
};

} // namespace

/**
 * Without a sound server that answers, opening the system mixer gives false within its deadline.
 * Each case runs the mixer in a process of its own, whose ALSA `default` card is the sound
 * server's, so that a sound card of the machine running the tests cannot stand in for it.
 */
class TestMixerNoServer : public QObject
{
    Q_OBJECT

private slots:
    void openGivesFalseWithoutAServer_data();
    void openGivesFalseWithoutAServer();
};

void TestMixerNoServer::openGivesFalseWithoutAServer_data()
{
    QTest::addColumn<bool>("deaf");

    QTest::newRow("no server socket") << false;
    QTest::newRow("server that never answers") << true;
}

void TestMixerNoServer::openGivesFalseWithoutAServer()
{
    // open() returns false, well before libpulse's own 30 s wait, when no server answers.
    QFETCH(bool, deaf);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile config(dir.filePath("asound.conf"));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write("ctl.!default {\n    type pulse\n}\n");
    config.close();

    const QString socket = dir.filePath("native");
    DeafServer server;
    if (deaf) {
        QVERIFY(server.listen(socket));
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ALSA_CONFIG_PATH", config.fileName());
    environment.insert("PULSE_SERVER", "unix:" + socket);
    QProcess probe;
    probe.setProcessEnvironment(environment);
    probe.start(QCoreApplication::applicationDirPath() + "/helper_mixerprobe");
    QVERIFY2(probe.waitForFinished(15000), "open() did not return within 15 s");
    QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
    QCOMPARE(probe.exitCode(), 0);
    const QString output = QString::fromLocal8Bit(probe.readAllStandardOutput());
    qInfo("%s", qPrintable(output.trimmed()));
    QVERIFY2(output.startsWith("open=0 volume=0 "), qPrintable(output));
}

QTEST_GUILESS_MAIN(TestMixerNoServer)
#include "tst_mixernoserver.moc"
