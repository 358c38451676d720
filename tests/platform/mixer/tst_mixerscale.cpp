#include "platform/mixer/mixerscale.h"

#include <QTest>
#include <climits>

using platform::fromMixerScale;
using platform::toMixerScale;

/** The mapping between a control's own range and the program's 0 ... 65535 volume scale. */
class TestMixerScale : public QObject
{
    Q_OBJECT

private slots:
    void readsControlValues_data();
    void readsControlValues();
    void writesProgramValues_data();
    void writesProgramValues();
    void fineRangesRoundTripEveryValue_data();
    void fineRangesRoundTripEveryValue();
    void coarseRangesKeepWhatWasRead_data();
    void coarseRangesKeepWhatWasRead();
};

void TestMixerScale::readsControlValues_data()
{
    QTest::addColumn<long>("control");
    QTest::addColumn<long>("min");
    QTest::addColumn<long>("max");
    QTest::addColumn<quint32>("expected");

    // PulseAudio's ALSA plugin: 0 ... 65536, where 65536 is 100 %.
    QTest::newRow("pulse minimum") << 0L << 0L << 65536L << 0u;
    QTest::newRow("pulse maximum") << 65536L << 0L << 65536L << 65535u;
    QTest::newRow("pulse half") << 32768L << 0L << 65536L << 32768u;
    QTest::newRow("pulse one below maximum") << 65535L << 0L << 65536L << 65534u;
    QTest::newRow("same range") << 655L << 0L << 65535L << 655u;
    // A sound card's own control, 0 ... 87 as many codecs report.
    QTest::newRow("card minimum") << 0L << 0L << 87L << 0u;
    QTest::newRow("card maximum") << 87L << 0L << 87L << 65535u;
    QTest::newRow("card step one") << 1L << 0L << 87L << 753u;
    QTest::newRow("negative range minimum") << -6400L << -6400L << 0L << 0u;
    QTest::newRow("negative range maximum") << 0L << -6400L << 0L << 65535u;
    QTest::newRow("negative range middle") << -3200L << -6400L << 0L << 32768u;
    QTest::newRow("below the range") << -5L << 0L << 87L << 0u;
    QTest::newRow("above the range") << 90L << 0L << 87L << 65535u;
    QTest::newRow("whole long range minimum") << LONG_MIN << LONG_MIN << LONG_MAX << 0u;
    QTest::newRow("whole long range maximum") << LONG_MAX << LONG_MIN << LONG_MAX << 65535u;
    QTest::newRow("whole long range zero") << 0L << LONG_MIN << LONG_MAX << 32768u;
    QTest::newRow("empty range") << 5L << 5L << 5L << 0u;
    QTest::newRow("reversed range") << 5L << 10L << 0L << 0u;
}

void TestMixerScale::readsControlValues()
{
    // A control value reads as the nearest program value; the ends are 0 and 65535.
    QFETCH(long, control);
    QFETCH(long, min);
    QFETCH(long, max);
    QFETCH(quint32, expected);
    QCOMPARE(toMixerScale(control, min, max), expected);
}

void TestMixerScale::writesProgramValues_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<long>("min");
    QTest::addColumn<long>("max");
    QTest::addColumn<long>("expected");

    QTest::newRow("pulse 0") << 0u << 0L << 65536L << 0L;
    QTest::newRow("pulse 65535") << 65535u << 0L << 65536L << 65536L;
    QTest::newRow("pulse position 1") << 655u << 0L << 65536L << 655L;
    QTest::newRow("pulse position 100") << 65500u << 0L << 65536L << 65501L;
    QTest::newRow("above 65535 is 65535") << 70000u << 0L << 65536L << 65536L;
    QTest::newRow("largest value is 65535") << UINT_MAX << 0L << 65536L << 65536L;
    QTest::newRow("card 0") << 0u << 0L << 87L << 0L;
    QTest::newRow("card 65535") << 65535u << 0L << 87L << 87L;
    QTest::newRow("card position 50") << 32750u << 0L << 87L << 43L;
    QTest::newRow("negative range 0") << 0u << -6400L << 0L << -6400L;
    QTest::newRow("negative range 65535") << 65535u << -6400L << 0L << 0L;
    QTest::newRow("whole long range 0") << 0u << LONG_MIN << LONG_MAX << LONG_MIN;
    QTest::newRow("whole long range 65535") << 65535u << LONG_MIN << LONG_MAX << LONG_MAX;
    QTest::newRow("empty range") << 65535u << 5L << 5L << 5L;
}

void TestMixerScale::writesProgramValues()
{
    // A program value writes the nearest control value; 0 writes the minimum, 65535 the maximum.
    QFETCH(quint32, value);
    QFETCH(long, min);
    QFETCH(long, max);
    QFETCH(long, expected);
    QCOMPARE(fromMixerScale(value, min, max), expected);
}

void TestMixerScale::fineRangesRoundTripEveryValue_data()
{
    QTest::addColumn<long>("min");
    QTest::addColumn<long>("max");

    QTest::newRow("pulse") << 0L << 65536L;
    QTest::newRow("same range") << 0L << 65535L;
    QTest::newRow("offset") << -100000L << 100000L;
    QTest::newRow("large") << 0L << 2147483647L;
    QTest::newRow("whole long range") << LONG_MIN << LONG_MAX;
}

void TestMixerScale::fineRangesRoundTripEveryValue()
{
    // With 65536 control steps or more, every program value written reads back unchanged.
    QFETCH(long, min);
    QFETCH(long, max);
    for (quint32 value = 0; value <= 65535; ++value) {
        const long control = fromMixerScale(value, min, max);
        if (toMixerScale(control, min, max) != value) {
            QFAIL(qPrintable(
                QString("%1 came back as %2").arg(value).arg(toMixerScale(control, min, max))));
        }
    }
}

void TestMixerScale::coarseRangesKeepWhatWasRead_data()
{
    QTest::addColumn<long>("min");
    QTest::addColumn<long>("max");

    QTest::newRow("card 0...87") << 0L << 87L;
    QTest::newRow("card 0...255") << 0L << 255L;
    QTest::newRow("one step") << 0L << 1L;
    QTest::newRow("dB hundredths") << -6400L << 0L;
    QTest::newRow("one short of 65536 values") << 0L << 65534L;
}

void TestMixerScale::coarseRangesKeepWhatWasRead()
{
    // A coarse control reads back within half a step of the value written, and writing back what
    // was read leaves the control where it is.
    QFETCH(long, min);
    QFETCH(long, max);
    const double halfStep = 65535.0 / double(max - min) / 2;
    for (quint32 value = 0; value <= 65535; ++value) {
        const long control = fromMixerScale(value, min, max);
        const quint32 read = toMixerScale(control, min, max);
        if (qAbs(double(read) - double(value)) > halfStep + 0.5) {
            QFAIL(qPrintable(QString("%1 read back as %2").arg(value).arg(read)));
        }
    }
    for (long control = min; control <= max; ++control) {
        QCOMPARE(fromMixerScale(toMixerScale(control, min, max), min, max), control);
    }
}

QTEST_APPLESS_MAIN(TestMixerScale)
#include "tst_mixerscale.moc"
