#include "mediafixtures.h"
#include "platform/media/midifile.h"

#include <QTest>

using namespace mediafixtures;
using platform::MidiFile;
using platform::MidiFileError;

/** The Standard MIDI File reader: times from the tempo map, and damage reported, never read. */
class TestMidiFile : public QObject
{
    Q_OBJECT

private slots:
    void lengthFollowsTempoMap_data();
    void lengthFollowsTempoMap();
    void eventsOfAllTracksInTimeOrder();
    void runningStatusAndSysex();
    void damagedFilesAreRejected_data();
    void damagedFilesAreRejected();
    void everyTruncationIsSafe();
};

void TestMidiFile::lengthFollowsTempoMap_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qint64>("lengthUs");

    QTest::newRow("default tempo")
        << smf(0, 96, {Track().note(0, 60, 192).end(0)}) << qint64(1000000);
    QTest::newRow("three tempi, tempo track apart") << tempoChangeSong() << qint64(2250000);
    QTest::newRow("tempo change inside one track")
        << smf(0, 100, {Track().tempo(0, 1000000).note(0, 60, 50).tempo(0, 200000).end(100)})
        << qint64(500000 + 200000);
    QTest::newRow("longest track wins")
        << smf(1, 10, {Track().end(5), Track().end(30)}) << qint64(1500000);
    QTest::newRow("empty song") << smf(0, 96, {Track().end(0)}) << qint64(0);
    QTest::newRow("smpte 25 fps, 40 ticks a frame")
        << smf(0, quint16(0xE728), {Track().tempo(0, 100000).end(1500)}) << qint64(1500000);
    QTest::newRow("no end-of-track event")
        << smf(0, 96, {Track().note(0, 60, 96)}) << qint64(500000);

    QByteArray riff("RIFF");
    const QByteArray song = tempoChangeSong();
    QByteArray body = QByteArray("RMID") + "data";
    for (int shift = 0; shift < 32; shift += 8)
        body.append(char((song.size() >> shift) & 0xFF));
    body += song;
    for (int shift = 0; shift < 32; shift += 8)
        riff.append(char((body.size() >> shift) & 0xFF));
    QTest::newRow("RIFF RMID wrapper") << riff + body << qint64(2250000);
}

void TestMidiFile::lengthFollowsTempoMap()
{
    // A song's length is the end of its longest track, timed through every tempo change.
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, lengthUs);
    QCOMPARE(MidiFile::parse(bytes).lengthUs(), lengthUs);
}

void TestMidiFile::eventsOfAllTracksInTimeOrder()
{
    // Events of all tracks merge into one list by time, each with its exact time.
    const MidiFile file = MidiFile::parse(tempoChangeSong());
    QCOMPARE(file.trackCount(), 2);
    QCOMPARE(file.tempoMap().size(), size_t(3));
    QList<qint64> noteOnMs;
    for (const platform::MidiEvent &event : file.events()) {
        if ((event.status & 0xF0) == 0x90)
            noteOnMs.append(event.timeUs / 1000);
    }
    QCOMPARE(noteOnMs, (QList<qint64>{0, 1000, 1500}));
    QCOMPARE(file.timeUsAtTick(1440), qint64(1250000));
}

void TestMidiFile::runningStatusAndSysex()
{
    // Running status repeats the last channel status; a system exclusive message is kept whole.
    const QByteArray bytes = smf(0, 96,
                                 {Track()
                                      .event(0, {0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7})
                                      .event(0, {0x91, 60, 90})
                                      .event(48, {62, 80})
                                      .end(0)});
    const MidiFile file = MidiFile::parse(bytes);
    QCOMPARE(file.events().size(), size_t(3));
    QCOMPARE(file.events()[0].sysex, QByteArray::fromHex("f07e7f0901f7"));
    QCOMPARE(file.events()[2].status, quint8(0x91));
    QCOMPARE(file.events()[2].data1, quint8(62));
    QCOMPARE(file.events()[2].data2, quint8(80));
    QCOMPARE(file.events()[2].timeUs, qint64(250000));
}

void TestMidiFile::damagedFilesAreRejected_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");

    const QByteArray good = tempoChangeSong();
    QTest::newRow("text") << QByteArray("hello, this is not music") << "not a MIDI file";
    QTest::newRow("header only, cut") << good.left(10) << "truncated";
    QTest::newRow("cut inside a track") << good.left(good.size() - 5) << "truncated";
    QTest::newRow("missing track")
        << smf(1, 96, {Track().end(0)}).replace(11, 1, "\x02") << "truncated";
    QTest::newRow("no tracks") << smf(0, 96, {}) << "no tracks";
    QTest::newRow("data byte without a status")
        << smf(0, 96, {Track().event(0, {60, 100})}) << "damaged";
    QTest::newRow("endless variable length")
        << smf(0, 96, {Track().event(0, {0xFF, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F})}) << "damaged";
    QTest::newRow("meta longer than its track")
        << smf(0, 96, {Track().event(0, {0xFF, 0x01, 0x40, 'a'})}) << "damaged";
    QTest::newRow("zero division") << smf(0, 0, {Track().end(0)}) << "header";
    QTest::newRow("unknown format") << smf(7, 96, {Track().end(0)}) << "format";
    QTest::newRow("plays for days")
        << smf(0, 1, {Track().tempo(0, 0xFFFFFF).event(0x0FFFFFFF, {0x90, 60, 1}).end(0)})
        << "too long";
}

void TestMidiFile::damagedFilesAreRejected()
{
    // A damaged or foreign file is refused with the reason, not read past its end.
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    try {
        MidiFile::parse(bytes);
        QFAIL("parsed");
    } catch (const MidiFileError &error) {
        QVERIFY2(error.reason().contains(reason), qPrintable(error.reason()));
    }
}

void TestMidiFile::everyTruncationIsSafe()
{
    // A file cut at any byte either still reads or is refused as truncated or damaged.
    const QByteArray good = tempoChangeSong();
    for (qsizetype size = 0; size < good.size(); ++size) {
        try {
            MidiFile::parse(good.left(size));
        } catch (const MidiFileError &) {
        }
    }
}

QTEST_GUILESS_MAIN(TestMidiFile)
#include "tst_midifile.moc"
