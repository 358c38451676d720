#include "platform/mixer/mixer.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <memory>

using platform::Mixer;

namespace {

/** The sink of the private sound server that scripts/with-pulse.sh starts, or empty. */
QString serverSink()
{
    return qEnvironmentVariable("KARVEL_PULSE_SINK");
}

QString pactl(const QStringList &arguments)
{
    QProcess process;
    process.start("pactl", arguments);
    if (!process.waitForFinished(10000) || process.exitCode() != 0) {
        return QString();
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

/** The sink's raw volume per channel as pactl reports it (65536 is 100 %). */
QList<qint64> sinkVolumes()
{
    static const QRegularExpression channel(R"((\d+) /\s+\d+%)");
    QList<qint64> volumes;
    auto matches = channel.globalMatch(pactl({"get-sink-volume", serverSink()}));
    while (matches.hasNext()) {
        volumes.append(matches.next().captured(1).toLongLong());
    }
    return volumes;
}

bool setSinkVolumes(const QStringList &raw)
{
    QProcess process;
    process.start("pactl", QStringList{"set-sink-volume", serverSink()} + raw);
    return process.waitForFinished(10000) && process.exitCode() == 0;
}

QStringList asArguments(const QList<qint64> &volumes)
{
    QStringList arguments;
    for (qint64 volume : volumes) {
        arguments.append(QString::number(volume));
    }
    return arguments;
}

} // namespace

/**
 * The system mixer against a real PulseAudio server with a null sink: what it writes is the
 * sink's volume, and what the desktop sets is what it reads. Runs only under scripts/with-pulse.sh.
 */
class TestSystemMixer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void startUpReadsTheDesktopVolume_data();
    void startUpReadsTheDesktopVolume();
    void writesReachTheSink_data();
    void writesReachTheSink();
    void desktopChangesAreRead_data();
    void desktopChangesAreRead();
    void writesSetEveryChannelAlike();
    void closedMixerLeavesTheSinkAlone();

private:
    QList<qint64> m_original;
    std::unique_ptr<Mixer> m_mixer;
};

void TestSystemMixer::initTestCase()
{
    if (serverSink().isEmpty()) {
        QSKIP("needs the private sound server: run the tests under scripts/with-pulse.sh");
    }
    m_original = sinkVolumes();
    QVERIFY2(!m_original.isEmpty(), "pactl cannot read the sink's volume");
}

void TestSystemMixer::cleanupTestCase()
{
    m_mixer.reset();
    // Other tests record this sink; leave it as loud as it was.
    if (!m_original.isEmpty()) {
        setSinkVolumes(asArguments(m_original));
    }
}

void TestSystemMixer::init()
{
    QVERIFY(setSinkVolumes({"65536"}));
    m_mixer = platform::createSystemMixer();
    QVERIFY2(m_mixer->open(), "no Master volume on ALSA's default card");
}

void TestSystemMixer::startUpReadsTheDesktopVolume_data()
{
    QTest::addColumn<QStringList>("sink");
    QTest::addColumn<quint32>("expected");

    QTest::newRow("silent") << QStringList{"0"} << 0u;
    QTest::newRow("half") << QStringList{"32768"} << 32768u;
    QTest::newRow("full") << QStringList{"65536"} << 65535u;
    QTest::newRow("loudest channel") << QStringList{"40000", "20000"} << 39999u;
    QTest::newRow("amplified above 100 %") << QStringList{"98304"} << 65535u;
}

void TestSystemMixer::startUpReadsTheDesktopVolume()
{
    // A mixer opened after the user set the desktop volume reads that volume at once.
    QFETCH(QStringList, sink);
    QFETCH(quint32, expected);
    m_mixer.reset();
    QVERIFY(setSinkVolumes(sink));
    auto mixer = platform::createSystemMixer();
    QVERIFY(mixer->open());
    QCOMPARE(mixer->volume(), expected);
}

void TestSystemMixer::writesReachTheSink_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("0") << 0u << qint64(0);
    QTest::newRow("position 1") << 655u << qint64(655);
    QTest::newRow("position 50") << 32750u << qint64(32750);
    QTest::newRow("position 100") << 65500u << qint64(65501);
    QTest::newRow("65535 is 100 %") << 65535u << qint64(65536);
    QTest::newRow("above 65535") << 70000u << qint64(65536);
}

void TestSystemMixer::writesReachTheSink()
{
    // A value written becomes the sink's volume on every channel and reads back unchanged.
    QFETCH(quint32, value);
    QFETCH(qint64, expected);
    m_mixer->setVolume(value);
    QTRY_COMPARE_WITH_TIMEOUT(sinkVolumes(), (QList<qint64>{expected, expected}), 5000);
    QCOMPARE(m_mixer->volume(), qMin(value, Mixer::MaxVolume));
}

void TestSystemMixer::desktopChangesAreRead_data()
{
    startUpReadsTheDesktopVolume_data();
}

void TestSystemMixer::desktopChangesAreRead()
{
    // A volume set on the desktop while the mixer is open is what the mixer reads next.
    QFETCH(QStringList, sink);
    QFETCH(quint32, expected);
    QVERIFY(setSinkVolumes(sink));
    QTRY_COMPARE_WITH_TIMEOUT(m_mixer->volume(), expected, 5000);
}

void TestSystemMixer::writesSetEveryChannelAlike()
{
    // A write after the desktop set the channels apart sets them all to the same value.
    QVERIFY(setSinkVolumes({"40000", "20000"}));
    QTRY_COMPARE_WITH_TIMEOUT(m_mixer->volume(), 39999u, 5000);
    m_mixer->setVolume(32750);
    QTRY_COMPARE_WITH_TIMEOUT(sinkVolumes(), (QList<qint64>{32750, 32750}), 5000);
}

void TestSystemMixer::closedMixerLeavesTheSinkAlone()
{
    // After close() the mixer reads 0 and its writes do not reach the sink.
    m_mixer->setVolume(32750);
    QTRY_COMPARE_WITH_TIMEOUT(sinkVolumes(), (QList<qint64>{32750, 32750}), 5000);
    m_mixer->close();
    QCOMPARE(m_mixer->volume(), 0u);
    m_mixer->setVolume(655);
    QCOMPARE(sinkVolumes(), (QList<qint64>{32750, 32750}));
    QVERIFY(m_mixer->open());
    QCOMPARE(m_mixer->volume(), 32750u);
}

QTEST_GUILESS_MAIN(TestSystemMixer)
#include "tst_systemmixer.moc"
