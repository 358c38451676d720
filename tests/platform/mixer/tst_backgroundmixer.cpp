#include "platform/mixer/backgroundmixer.h"

#include <QTest>
#include <condition_variable>
#include <mutex>

using platform::BackgroundMixer;
using platform::Mixer;

namespace {

constexpr auto GiveUpAfter = std::chrono::seconds(5);

/** What the mixers a factory made saw, shared with their writer threads. */
struct Record
{
    std::mutex mutex;
    std::condition_variable changed;
    bool present = true;
    bool gateClosed = false; // writes hang while set, as on a frozen sound server
    int made = 0;
    int writesStarted = 0;
    QList<quint32> writes;
    QList<int> closedMixers;
    quint32 current = 20000;

    /** Waits for `condition` under the lock; false when it did not come within GiveUpAfter. */
    template <typename Condition>
    bool waitFor(Condition condition)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, GiveUpAfter, condition);
    }

    void setGate(bool closed)
    {
        const std::lock_guard lock(mutex);
        gateClosed = closed;
        changed.notify_all();
    }
};

class RecordingMixer : public Mixer
{
public:
    RecordingMixer(std::shared_ptr<Record> record, int number)
        : m_record(std::move(record)), m_number(number)
    {
    }

    bool open() override { return m_record->present; }
    void close() override
    {
        const std::lock_guard lock(m_record->mutex);
        m_record->closedMixers.append(m_number);
        m_record->changed.notify_all();
    }
    quint32 volume() const override
    {
        const std::lock_guard lock(m_record->mutex);
        return m_record->current;
    }
    void setVolume(quint32 value) override
    {
        std::unique_lock lock(m_record->mutex);
        ++m_record->writesStarted;
        m_record->changed.notify_all();
        m_record->changed.wait(lock, [&] { return !m_record->gateClosed; });
        m_record->writes.append(value);
        m_record->current = value;
        m_record->changed.notify_all();
    }

private:
    std::shared_ptr<Record> m_record;
    int m_number;
};

BackgroundMixer::Factory factoryFor(const std::shared_ptr<Record> &record)
{
    return [record] {
        int number = 0;
        {
            const std::lock_guard lock(record->mutex);
            number = ++record->made;
        }
        return std::make_unique<RecordingMixer>(record, number);
    };
}

} // namespace

/** Volume writes leave at once and reach the mixer in the background, the latest value winning. */
class TestBackgroundMixer : public QObject
{
    Q_OBJECT

private slots:
    void writesReachTheMixerAndReadBack();
    void valuesOfOneTurnGoOutAsTheLast();
    void loweringOnlyWhileALowerValueIsOnItsWay_data();
    void loweringOnlyWhileALowerValueIsOnItsWay();
    void writesAskedForWhileOneHangsCollapseToTheLatest();
    void closeFinishesTheWritesAskedFor();
    void hungWriteDoesNotHoldCloseOrTheNextOpen();
    void absentMixerReadsZeroAndIgnoresWrites();
};

void TestBackgroundMixer::writesReachTheMixerAndReadBack()
{
    auto record = std::make_shared<Record>();
    BackgroundMixer mixer(factoryFor(record));
    QVERIFY(mixer.open());
    QCOMPARE(mixer.volume(), 20000u);
    mixer.setVolume(655);
    QVERIFY(mixer.waitForWrites(GiveUpAfter));
    QCOMPARE(record->writes, QList<quint32>{655});
    // Once written, what the mixer reads: a change made on the desktop shows.
    {
        const std::lock_guard lock(record->mutex);
        record->current = 30000;
    }
    QCOMPARE(mixer.volume(), 30000u);
    mixer.close();
    QCOMPARE(record->closedMixers, QList<int>{1});
}

void TestBackgroundMixer::valuesOfOneTurnGoOutAsTheLast()
{
    // A handler that sets 1 % and then the song's volume: only the song's volume is written,
    // once the event loop turns; settled() tells when it is there.
    auto record = std::make_shared<Record>();
    BackgroundMixer mixer(factoryFor(record));
    QVERIFY(mixer.open());
    QVERIFY(mixer.settled());
    mixer.setVolume(655);
    mixer.setVolume(655);
    mixer.setVolume(45850);
    QVERIFY(!mixer.settled());
    QCOMPARE(mixer.volume(), 45850u);
    QCOMPARE(record->writesStarted, 0);
    QCoreApplication::sendPostedEvents();
    QVERIFY(mixer.waitForWrites(GiveUpAfter));
    QVERIFY(mixer.settled());
    QCOMPARE(record->writes, QList<quint32>{45850});

    // The next turn's values are a write of their own.
    mixer.setVolume(1310);
    QCoreApplication::sendPostedEvents();
    QVERIFY(mixer.waitForWrites(GiveUpAfter));
    QCOMPARE(record->writes, (QList<quint32>{45850, 1310}));
}

void TestBackgroundMixer::loweringOnlyWhileALowerValueIsOnItsWay_data()
{
    QTest::addColumn<QList<quint32>>("asked");
    QTest::addColumn<bool>("lowering");

    // The control reads 20000 when opened.
    QTest::newRow("lower") << QList<quint32>{10000} << true;
    QTest::newRow("higher") << QList<quint32>{30000} << false;
    QTest::newRow("the same") << QList<quint32>{20000} << false;
    QTest::newRow("1 %, then higher") << QList<quint32>{655, 30000} << false;
    QTest::newRow("higher, then 1 %") << QList<quint32>{30000, 655} << true;
}

void TestBackgroundMixer::loweringOnlyWhileALowerValueIsOnItsWay()
{
    // A song may start at once unless the volume asked for with it is below the control's.
    QFETCH(QList<quint32>, asked);
    QFETCH(bool, lowering);
    auto record = std::make_shared<Record>();
    BackgroundMixer mixer(factoryFor(record));
    QVERIFY(mixer.open());
    QVERIFY(!mixer.lowering());
    record->setGate(true);
    for (const quint32 value : asked)
        mixer.setVolume(value);
    QCOMPARE(mixer.lowering(), lowering);
    QCoreApplication::sendPostedEvents();
    QCOMPARE(mixer.lowering(), lowering); // while the write hangs
    record->setGate(false);
    QVERIFY(mixer.waitForWrites(GiveUpAfter));
    QVERIFY(!mixer.lowering());
}

void TestBackgroundMixer::writesAskedForWhileOneHangsCollapseToTheLatest()
{
    auto record = std::make_shared<Record>();
    BackgroundMixer mixer(factoryFor(record));
    QVERIFY(mixer.open());
    record->setGate(true);
    mixer.setVolume(655);
    QCoreApplication::sendPostedEvents(); // returns although the write hangs
    QVERIFY(record->waitFor([&] { return record->writesStarted == 1; }));
    mixer.setVolume(32750);
    QCoreApplication::sendPostedEvents();
    mixer.setVolume(70000);
    QCoreApplication::sendPostedEvents();
    // What was asked for last, capped, not the mixer's old value.
    QCOMPARE(mixer.volume(), Mixer::MaxVolume);
    QVERIFY(!mixer.waitForWrites(std::chrono::milliseconds(0)));
    QVERIFY(!mixer.settled());
    record->setGate(false);
    QVERIFY(mixer.waitForWrites(GiveUpAfter));
    QCOMPARE(record->writes, (QList<quint32>{655, Mixer::MaxVolume}));
}

void TestBackgroundMixer::closeFinishesTheWritesAskedFor()
{
    // The last volume the user set is on the server when the program has closed its mixer.
    auto record = std::make_shared<Record>();
    BackgroundMixer mixer(factoryFor(record));
    QVERIFY(mixer.open());
    mixer.setVolume(100);
    mixer.setVolume(200);
    mixer.close();
    const std::lock_guard lock(record->mutex);
    QCOMPARE(record->writes.last(), 200u);
    QCOMPARE(record->closedMixers, QList<int>{1});
}

void TestBackgroundMixer::hungWriteDoesNotHoldCloseOrTheNextOpen()
{
    auto record = std::make_shared<Record>();
    BackgroundMixer mixer(factoryFor(record), std::chrono::milliseconds(0));
    QVERIFY(mixer.open());
    record->setGate(true);
    mixer.setVolume(655);
    QVERIFY(!mixer.waitForWrites(std::chrono::milliseconds(0)));
    QVERIFY(record->waitFor([&] { return record->writesStarted == 1; }));
    mixer.close();
    QVERIFY(mixer.settled()); // a song started now does not wait for the hung write
    QCOMPARE(mixer.volume(), 0u);
    mixer.setVolume(1000);

    // A new open takes a mixer of its own; the hung one closes when its write comes back.
    QVERIFY(mixer.open());
    QCOMPARE(record->made, 2);
    record->setGate(false);
    QVERIFY(record->waitFor([&] { return record->closedMixers.contains(1); }));
    QCOMPARE(record->writes, QList<quint32>{655});
    mixer.setVolume(2000);
    QVERIFY(mixer.waitForWrites(GiveUpAfter));
    QCOMPARE(record->writes.last(), 2000u);
}

void TestBackgroundMixer::absentMixerReadsZeroAndIgnoresWrites()
{
    auto record = std::make_shared<Record>();
    record->present = false;
    BackgroundMixer mixer(factoryFor(record));
    QVERIFY(!mixer.open());
    QCOMPARE(mixer.volume(), 0u);
    mixer.setVolume(655);
    mixer.close();
    QCOMPARE(record->writesStarted, 0);
}

QTEST_GUILESS_MAIN(TestBackgroundMixer)
#include "tst_backgroundmixer.moc"
