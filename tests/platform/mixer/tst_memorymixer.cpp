#include "platform/mixer/memorymixer.h"

#include <QTest>

using platform::MemoryMixer;

/** The in-memory mixer follows the rules of every mixer, and records what reached it. */
class TestMemoryMixer : public QObject
{
    Q_OBJECT

private slots:
    void presentMixerReadsAndRecordsWrites();
    void nothingOpenReadsZeroAndIgnoresWrites_data();
    void nothingOpenReadsZeroAndIgnoresWrites();
    void writesAboveTheScaleAreCapped();
    void desktopChangesAreReadWhileOpen();
};

void TestMemoryMixer::presentMixerReadsAndRecordsWrites()
{
    // A present mixer opens, reads the value set before, and records each write in order.
    MemoryMixer mixer(MemoryMixer::Presence::Present, 40000);
    QVERIFY(mixer.open());
    QCOMPARE(mixer.volume(), 40000u);
    mixer.setVolume(655);
    mixer.setVolume(655);
    mixer.setVolume(0);
    QCOMPARE(mixer.writes(), (QList<quint32>{655, 655, 0}));
    QCOMPARE(mixer.volume(), 0u);
    mixer.close();
    QCOMPARE(mixer.openCount(), 1);
    QCOMPARE(mixer.closeCount(), 1);
    QCOMPARE(mixer.current(), 0u);
}

void TestMemoryMixer::nothingOpenReadsZeroAndIgnoresWrites_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<bool>("callOpen");
    QTest::addColumn<bool>("callClose");

    QTest::newRow("never opened") << true << false << false;
    QTest::newRow("absent") << false << true << false;
    QTest::newRow("closed") << true << true << true;
}

void TestMemoryMixer::nothingOpenReadsZeroAndIgnoresWrites()
{
    // Without an open control, volume() is 0 and a write changes nothing and is not recorded.
    QFETCH(bool, present);
    QFETCH(bool, callOpen);
    QFETCH(bool, callClose);
    MemoryMixer mixer(present ? MemoryMixer::Presence::Present : MemoryMixer::Presence::Absent,
                      30000);
    if (callOpen) {
        QCOMPARE(mixer.open(), present);
    }
    if (callClose) {
        mixer.close();
    }
    QVERIFY(!mixer.isOpen());
    QCOMPARE(mixer.volume(), 0u);
    mixer.setVolume(655);
    QVERIFY(mixer.writes().isEmpty());
    QCOMPARE(mixer.current(), 30000u);
    QCOMPARE(mixer.openCount(), callOpen ? 1 : 0);
}

void TestMemoryMixer::writesAboveTheScaleAreCapped()
{
    // Values above 65535, written or preset, are taken as 65535.
    MemoryMixer mixer(MemoryMixer::Presence::Present, 100000);
    QVERIFY(mixer.open());
    QCOMPARE(mixer.volume(), 65535u);
    mixer.setVolume(65536);
    QCOMPARE(mixer.writes(), QList<quint32>{65535});
}

void TestMemoryMixer::desktopChangesAreReadWhileOpen()
{
    // A change made outside the program is what the next read gives, and is not a write.
    MemoryMixer mixer;
    QVERIFY(mixer.open());
    mixer.setCurrent(12345);
    QCOMPARE(mixer.volume(), 12345u);
    QVERIFY(mixer.writes().isEmpty());
}

QTEST_APPLESS_MAIN(TestMemoryMixer)
#include "tst_memorymixer.moc"
