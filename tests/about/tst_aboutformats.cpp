#include "about/aboutformats.h"

#include <QTest>

class TestAboutFormats : public QObject
{
    Q_OBJECT

private slots:
    void memoryInKilobytes_data();
    void memoryInKilobytes();
    void versionWordBytes_data();
    void versionWordBytes();
    void processorNames_data();
    void processorNames();
    void subVersionLine_data();
    void subVersionLine();
    void platformNames_data();
    void platformNames();
    void diskMegabytes_data();
    void diskMegabytes();
    void serialNumbers_data();
    void serialNumbers();
};

void TestAboutFormats::memoryInKilobytes_data()
{
    QTest::addColumn<quint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("one megabyte") << quint64(1048576) << "1024 K";
    QTest::newRow("one byte short") << quint64(1048575) << "1023 K";
    QTest::newRow("under a kilobyte") << quint64(1023) << "0 K";
    QTest::newRow("none") << quint64(0) << "0 K";
    QTest::newRow("beyond 4 GB") << quint64(16) * 1024 * 1024 * 1024 << "16777216 K";
}

void TestAboutFormats::memoryInKilobytes()
{
    // Memory is shown in whole kilobytes, rounded down, also beyond what 32 bits hold.
    QFETCH(quint64, bytes);
    QFETCH(QString, text);
    QCOMPARE(aboutformats::memory(bytes), text);
}

void TestAboutFormats::versionWordBytes_data()
{
    QTest::addColumn<quint32>("word");
    QTest::addColumn<QString>("windows");
    QTest::addColumn<QString>("dos");
    QTest::newRow("5,1,40,10") << quint32(5 | 1 << 8 | 40 << 16 | 10u << 24) << "Windows 5.01"
                               << "DOS 10.40";
    QTest::newRow("zero") << quint32(0) << "Windows 0.00"
                          << "DOS 0.00";
    QTest::newRow("all bytes full") << quint32(0xFFFFFFFF) << "Windows 255.255"
                                    << "DOS 255.255";
    QTest::newRow("two-digit minor")
        << quint32(4 | 90 << 8 | 0x0A << 16 | 0xC3u << 24) << "Windows 4.90"
        << "DOS 195.10";
}

void TestAboutFormats::versionWordBytes()
{
    // Bytes 0 and 1 are the Windows version, bytes 3 and 2 the DOS version; each minor has two
    // digits at least.
    QFETCH(quint32, word);
    QFETCH(QString, windows);
    QFETCH(QString, dos);
    QCOMPARE(aboutformats::windowsVersion(word), windows);
    QCOMPARE(aboutformats::dosVersion(word), dos);
}

void TestAboutFormats::processorNames_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("name");
    QTest::newRow("3") << 3 << "Intel 80386";
    QTest::newRow("4") << 4 << "Intel 80486";
    QTest::newRow("5") << 5 << "Intel Pentium";
    QTest::newRow("6") << 6 << "Intel Pentium III";
    QTest::newRow("2") << 2 << "";
    QTest::newRow("15") << 15 << "";
    QTest::newRow("negative") << -1 << "";
}

void TestAboutFormats::processorNames()
{
    // Levels 3 to 6 have a processor name; any other level shows nothing.
    QFETCH(int, level);
    QFETCH(QString, name);
    QCOMPARE(aboutformats::processorName(level), name);
}

void TestAboutFormats::subVersionLine_data()
{
    QTest::addColumn<quint32>("major");
    QTest::addColumn<quint32>("minor");
    QTest::addColumn<quint32>("build");
    QTest::addColumn<QString>("servicePack");
    QTest::addColumn<QString>("text");
    QTest::newRow("xp") << 5u << 1u << 2600u << "Service Pack 3"
                        << "5.1 (2600.Service Pack 3)";
    QTest::newRow("build's high word dropped") << 4u << 10u << 0x040A0898u << ""
                                               << "4.10 (2200.)";
    QTest::newRow("placeholders in the text") << 6u << 1u << 7u << "%1 %2"
                                              << "6.1 (7.%1 %2)";
}

void TestAboutFormats::subVersionLine()
{
    // The sub-version shows major.minor, the build's low 16 bits and the service pack text as it
    // is.
    QFETCH(quint32, major);
    QFETCH(quint32, minor);
    QFETCH(quint32, build);
    QFETCH(QString, servicePack);
    QFETCH(QString, text);
    QCOMPARE(aboutformats::subVersion({major, minor, build, servicePack, 2}), text);
}

void TestAboutFormats::platformNames_data()
{
    QTest::addColumn<quint32>("id");
    QTest::addColumn<QString>("name");
    QTest::newRow("0") << 0u << "Windows 3.1";
    QTest::newRow("1") << 1u << "Windows 95";
    QTest::newRow("2") << 2u << "Windows NT";
    QTest::newRow("3") << 3u << "";
}

void TestAboutFormats::platformNames()
{
    // Platform ids 0 to 2 have a name; any other shows nothing.
    QFETCH(quint32, id);
    QFETCH(QString, name);
    QCOMPARE(aboutformats::platformName(id), name);
}

void TestAboutFormats::diskMegabytes_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("2 GiB") << qint64(2147483648) << "2147 Mb";
    QTest::newRow("missing drive") << qint64(-1) << "0 Mb";
    QTest::newRow("just under a million") << qint64(999999) << "0 Mb";
    QTest::newRow("a million") << qint64(1000000) << "1 Mb";
    QTest::newRow("4 TB") << qint64(4000000000000) << "4000000 Mb";
}

void TestAboutFormats::diskMegabytes()
{
    // Disk figures are millions of bytes, truncated toward zero, so -1 shows 0.
    QFETCH(qint64, bytes);
    QFETCH(QString, text);
    QCOMPARE(aboutformats::megabytes(bytes), text);
}

void TestAboutFormats::serialNumbers_data()
{
    QTest::addColumn<quint32>("serial");
    QTest::addColumn<QString>("text");
    QTest::newRow("1A2B-3C4D") << 0x1A2B3C4Du << "439041101";
    QTest::newRow("top bit set") << 0xC0DE1234u << "3235779124";
    QTest::newRow("zero") << 0u << "0";
}

void TestAboutFormats::serialNumbers()
{
    // A serial number shows as one unsigned decimal, without grouping or a dash.
    QFETCH(quint32, serial);
    QFETCH(QString, text);
    QCOMPARE(aboutformats::serialNumber(serial), text);
}

QTEST_APPLESS_MAIN(TestAboutFormats)
#include "tst_aboutformats.moc"
