#include "platform/sysinfo/hostparsing.h"
#include "platform/sysinfo/systeminfo.h"
#include "platform/winpath.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace platform;

namespace {

const QByteArray intelCpu = "processor\t: 0\n"
                            "vendor_id\t: GenuineIntel\n"
                            "cpu family\t: 6\n"
                            "model\t\t: 142\n"
                            "model name\t: Intel(R) Core(TM) i5-8250U CPU @ 1.60GHz\n"
                            "stepping\t: 10\n"
                            "flags\t\t: fpu vme de pse tsc msr mmx fxsr sse sse2\n"
                            "\n"
                            "processor\t: 1\n"
                            "vendor_id\t: SecondVendor\n"
                            "cpu family\t: 15\n";

const QByteArray armCpu = "processor\t: 0\n"
                          "BogoMIPS\t: 108.00\n"
                          "Features\t: fp asimd evtstrm crc32 cpuid\n"
                          "CPU implementer\t: 0x41\n"
                          "\n"
                          "Hardware\t: BCM2835\n"
                          "Model\t\t: Raspberry Pi 4 Model B Rev 1.4\n";

} // namespace

class TestHostSystemInfo : public QObject
{
    Q_OBJECT

private slots:
    void readsTheFirstProcessorOfCpuInfo();
    void cpuInfoWithoutX86FieldsLeavesThemUnknown();
    void readsOsReleaseValues_data();
    void readsOsReleaseValues();
    void kernelReleaseGivesTheVersionWord_data();
    void kernelReleaseGivesTheVersionWord();
    void readsAvailableMemory_data();
    void readsAvailableMemory();
    void ownerIsTheFullNameOrTheLogin_data();
    void ownerIsTheFullNameOrTheLogin();
    void productIdHidesTheMachineId();
    void foldsTheFileSystemIdToThirtyTwoBits();
    void measuresAnExistingFolderAndFailsOnAMissingOne();
    void hostAnswersForMappedAndUnmappedDrives();
    void hostAnswersTheRegistryItKnowsOnly();
};

void TestHostSystemInfo::readsTheFirstProcessorOfCpuInfo()
{
    // The first processor's block gives the identifier as Windows spells it, the vendor, MMX and
    // the family.
    const hostinfo::CpuDescription cpu = hostinfo::parseCpuInfo(intelCpu);
    QCOMPARE(cpu.identifier, QStringLiteral("x86 Family 6 Model 142 Stepping 10"));
    QCOMPARE(cpu.vendor, QStringLiteral("GenuineIntel"));
    QVERIFY(cpu.mmx);
    QCOMPARE(cpu.family, 6);
}

void TestHostSystemInfo::cpuInfoWithoutX86FieldsLeavesThemUnknown()
{
    // A processor without vendor, family or flags has no vendor, level 0, no MMX, and no made-up
    // identifier.
    const hostinfo::CpuDescription arm = hostinfo::parseCpuInfo(armCpu);
    QCOMPARE(arm.vendor, std::nullopt);
    QCOMPARE(arm.family, 0);
    QVERIFY(!arm.mmx);
    QCOMPARE(arm.identifier, std::nullopt);

    const hostinfo::CpuDescription named =
        hostinfo::parseCpuInfo("cpu model\t: Loongson-3A5000\nflags : smmx\n");
    QCOMPARE(named.identifier, QStringLiteral("Loongson-3A5000"));
    QVERIFY(!named.mmx); // a flag is matched whole

    const hostinfo::CpuDescription empty = hostinfo::parseCpuInfo(QByteArray());
    QCOMPARE(empty.identifier, std::nullopt);
    QCOMPARE(empty.family, 0);
}

void TestHostSystemInfo::readsOsReleaseValues_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("double quotes")
        << QByteArray("PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n") << "PRETTY_NAME"
        << "Debian GNU/Linux 12 (bookworm)";
    QTest::newRow("single quotes") << QByteArray("NAME='Fedora Linux'\n") << "NAME"
                                   << "Fedora Linux";
    QTest::newRow("bare") << QByteArray("ID=debian\n") << "ID"
                          << "debian";
    QTest::newRow("escapes") << QByteArray("NAME=\"A \\\"quoted\\\" \\\\ name\"\n") << "NAME"
                             << "A \"quoted\" \\ name";
    QTest::newRow("comment skipped") << QByteArray("#NAME=Commented\nNAME=Real\n") << "NAME"
                                     << "Real";
    QTest::newRow("utf-8") << QByteArray(
                                  "NAME=\"\xd0\x9b\xd0\xb8\xd0\xbd\xd1\x83\xd0\xba\xd1\x81\"\n")
                           << "NAME" << QString::fromUtf8("Линукс");
    QTest::newRow("CRLF line") << QByteArray("VERSION=\"12 (bookworm)\"\r\n") << "VERSION"
                               << "12 (bookworm)";
    QTest::newRow("missing") << QByteArray("garbage line\n=novalue\n") << "NAME" << QString();
}

void TestHostSystemInfo::readsOsReleaseValues()
{
    // os-release values come unquoted and unescaped; comments and malformed lines are skipped.
    QFETCH(QByteArray, text);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QCOMPARE(hostinfo::parseOsRelease(text).value(key), value);
}

void TestHostSystemInfo::kernelReleaseGivesTheVersionWord_data()
{
    QTest::addColumn<QByteArray>("release");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<quint32>("major");
    QTest::addColumn<quint32>("minor");
    QTest::addColumn<quint32>("patch");
    QTest::addColumn<quint32>("word");
    QTest::newRow("debian") << QByteArray("6.1.0-13-amd64") << true << 6u << 1u << 0u << 0x0106u;
    QTest::newRow("patch level") << QByteArray("5.15.133+") << true << 5u << 15u << 133u
                                 << (133u << 16 | 0x0F05u);
    QTest::newRow("xp's numbers") << QByteArray("5.1.2600") << true << 5u << 1u << 2600u
                                  << 0x0A280105u;
    QTest::newRow("two parts") << QByteArray("4.9") << true << 4u << 9u << 0u << 0x0904u;
    QTest::newRow("large numbers capped") << QByteArray("300.256.40000") << true << 300u << 256u
                                          << 40000u << ((40000u & 0x7FFF) << 16 | 0xFFFFu);
    QTest::newRow("not a number") << QByteArray("linux") << false << 0u << 0u << 0u << 0u;
}

void TestHostSystemInfo::kernelReleaseGivesTheVersionWord()
{
    // The kernel's major and minor are the version bytes, its patch level the build in the high
    // word.
    QFETCH(QByteArray, release);
    QFETCH(bool, valid);
    const auto kernel = hostinfo::parseKernelRelease(release);
    QCOMPARE(kernel.has_value(), valid);
    if (!kernel)
        return;
    QFETCH(quint32, major);
    QFETCH(quint32, minor);
    QFETCH(quint32, patch);
    QFETCH(quint32, word);
    QCOMPARE(kernel->major, major);
    QCOMPARE(kernel->minor, minor);
    QCOMPARE(kernel->patch, patch);
    QCOMPARE(hostinfo::versionWord(*kernel), word);
}

void TestHostSystemInfo::readsAvailableMemory_data()
{
    QTest::addColumn<QByteArray>("meminfo");
    QTest::addColumn<std::optional<quint64>>("bytes");
    QTest::newRow("kilobytes")
        << QByteArray("MemTotal:  8000000 kB\nMemFree:  100 kB\nMemAvailable:    2048 kB\n")
        << std::optional<quint64>(2048 * 1024);
    QTest::newRow("absent on old kernels")
        << QByteArray("MemTotal:  8000000 kB\nMemFree:  100 kB\n") << std::optional<quint64>();
    QTest::newRow("garbled") << QByteArray("MemAvailable: lots\n") << std::optional<quint64>();
}

void TestHostSystemInfo::readsAvailableMemory()
{
    // MemAvailable is read in bytes; without it the caller falls back on sysinfo's figures.
    QFETCH(QByteArray, meminfo);
    QFETCH(std::optional<quint64>, bytes);
    QCOMPARE(hostinfo::parseMemAvailable(meminfo), bytes);
}

void TestHostSystemInfo::ownerIsTheFullNameOrTheLogin_data()
{
    QTest::addColumn<QByteArray>("gecos");
    QTest::addColumn<QByteArray>("login");
    QTest::addColumn<std::optional<QString>>("owner");
    QTest::newRow("full name with office")
        << QByteArray("Anna Petrova,Room 3,555-1234,,") << QByteArray("anna")
        << std::optional<QString>(QStringLiteral("Anna Petrova"));
    QTest::newRow("cyrillic") << QByteArray("\xd0\x90\xd0\xbd\xd0\xbd\xd0\xb0")
                              << QByteArray("anna")
                              << std::optional<QString>(QString::fromUtf8("Анна"));
    QTest::newRow("empty gecos") << QByteArray(",,,") << QByteArray("anna")
                                 << std::optional<QString>(QStringLiteral("anna"));
    QTest::newRow("nothing") << QByteArray() << QByteArray() << std::optional<QString>();
}

void TestHostSystemInfo::ownerIsTheFullNameOrTheLogin()
{
    // The owner is the account's full name, else its login.
    QFETCH(QByteArray, gecos);
    QFETCH(QByteArray, login);
    QFETCH(std::optional<QString>, owner);
    QCOMPARE(hostinfo::ownerName(gecos, login), owner);
}

void TestHostSystemInfo::productIdHidesTheMachineId()
{
    // The product id is stable for a machine, differs between machines and does not show the
    // machine-id.
    const QByteArray machine = "0123456789abcdef0123456789abcdef\n";
    const auto id = hostinfo::productId(machine);
    QVERIFY(id);
    QCOMPARE(id->size(), 23);
    QCOMPARE(id->count(QLatin1Char('-')), 3);
    QCOMPARE(hostinfo::productId(machine.trimmed()), id);
    QVERIFY(hostinfo::productId("fedcba9876543210fedcba9876543210") != id);
    QVERIFY(!id->contains(QStringLiteral("01234"), Qt::CaseInsensitive));
    QCOMPARE(hostinfo::productId(" \n"), std::nullopt);
}

void TestHostSystemInfo::foldsTheFileSystemIdToThirtyTwoBits()
{
    // Both halves of a 64-bit id reach the serial number.
    QCOMPARE(hostinfo::foldFileSystemId(0x12345678u), 0x12345678u);
    QCOMPARE(hostinfo::foldFileSystemId(0x0000000100000000ull), 1u);
    QCOMPARE(hostinfo::foldFileSystemId(0xFFFFFFFF00000000ull), 0xFFFFFFFFu);
    QCOMPARE(hostinfo::foldFileSystemId(0x1234567812345678ull), 0u);
}

void TestHostSystemInfo::measuresAnExistingFolderAndFailsOnAMissingOne()
{
    // statvfs of a folder gives its disk's size and free bytes; a missing folder gives -1 and no
    // serial.
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const DiskSpace space = hostinfo::folderSpace(folder.path());
    QVERIFY(space.totalBytes > 0);
    QVERIFY(space.freeBytes >= 0);
    QVERIFY(space.freeBytes <= space.totalBytes);
    QVERIFY(hostinfo::folderSerial(folder.path()).has_value());
    QCOMPARE(hostinfo::folderSerial(folder.path()), hostinfo::folderSerial(folder.path()));

    const QString missing = folder.filePath(QStringLiteral("no such folder"));
    QCOMPARE(hostinfo::folderSpace(missing).totalBytes, -1);
    QCOMPARE(hostinfo::folderSpace(missing).freeBytes, -1);
    QCOMPARE(hostinfo::folderSerial(missing), std::nullopt);
    QCOMPARE(hostinfo::folderSpace(QString()).totalBytes, -1);
}

void TestHostSystemInfo::hostAnswersForMappedAndUnmappedDrives()
{
    // A drive of the map is measured in its folder; an unmapped drive is missing; memory and
    // version come from the host.
    QTemporaryDir folder;
    WinPath paths;
    paths.mapDrive(QLatin1Char('C'), folder.path());
    const std::unique_ptr<SystemInfo> system = createHostSystemInfo(paths);

    QCOMPARE(system->diskSpace(QLatin1Char('C')).totalBytes,
             hostinfo::folderSpace(folder.path()).totalBytes);
    QCOMPARE(system->volumeSerial(QLatin1Char('C')), hostinfo::folderSerial(folder.path()));
    QCOMPARE(system->diskSpace(QLatin1Char('D')).totalBytes, -1);
    QCOMPARE(system->diskSpace(QLatin1Char('D')).freeBytes, -1);
    QCOMPARE(system->volumeSerial(QLatin1Char('D')), std::nullopt);
    QVERIFY(system->currentDriveSpace().totalBytes > 0);

    const MemoryStatus memory = system->memoryStatus();
    QVERIFY(memory.totalPhys > 0);
    QVERIFY(memory.availPhys <= memory.totalPhys);
    QVERIFY(memory.availPageFile <= memory.totalPageFile);

    const auto record = system->versionEx();
    QVERIFY(record);
    QCOMPARE(record->platformId, 2u);
    QCOMPARE(system->version() & 0xFF, qMin(record->major, 255u));
    QCOMPARE(system->windowsDirectory(), QStringLiteral("C:\\WINDOWS"));
}

void TestHostSystemInfo::hostAnswersTheRegistryItKnowsOnly()
{
    // Known values are found whatever the letter case of key and name; unknown keys and values are
    // missing.
    WinPath paths;
    const std::unique_ptr<SystemInfo> system = createHostSystemInfo(paths);
    const QString processor = QStringLiteral("HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0");
    QCOMPARE(system->registryString(processor.toLower(), QStringLiteral("IDENTIFIER")),
             system->registryString(processor, QStringLiteral("Identifier")));
    // Only the first processor's block is read; it says what the whole file says of the first
    // processor.
    QFile cpuinfo(QStringLiteral("/proc/cpuinfo"));
    if (cpuinfo.open(QIODevice::ReadOnly)) {
        const hostinfo::CpuDescription whole = hostinfo::parseCpuInfo(cpuinfo.readAll());
        QCOMPARE(system->registryString(processor, QStringLiteral("Identifier")), whole.identifier);
        QCOMPARE(system->registryString(processor, QStringLiteral("VendorIdentifier")),
                 whole.vendor);
        QCOMPARE(system->processorLevel(), whole.family);
    }
    QCOMPARE(system->registryString(processor, QStringLiteral("NoSuchValue")), std::nullopt);
    QCOMPARE(
        system->registryString(QStringLiteral("SOFTWARE\\Nowhere"), QStringLiteral("ProductName")),
        std::nullopt);
    const QString currentVersion = QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion");
    QCOMPARE(system->registryString(currentVersion, QStringLiteral("RegisteredOrganization")),
             std::nullopt);
    QVERIFY(system->registryString(currentVersion, QStringLiteral("RegisteredOwner")).has_value());
}

QTEST_GUILESS_MAIN(TestHostSystemInfo)
#include "tst_hostsysteminfo.moc"
