#include "app/firstrun.h"
#include "platform/winpath.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

/** Every entry below a folder with its content, so two trees compare as one value. */
QMap<QString, QByteArray> tree(const QString &root)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        entries.insert(QDir(root).relativeFilePath(path),
                       info.isDir() ? QByteArray("<folder>") : readFile(path));
    }
    return entries;
}

/** A demo drive and a home folder in which drive C's folder is to be made. */
struct FirstRunFixture
{
    QTemporaryDir scratch;
    QString demo = scratch.path() + QStringLiteral("/share/karvel/demo/drive_c");
    QString driveC = scratch.path() + QStringLiteral("/home/.local/share/karvel/drive_c");
    platform::WinPath paths;

    FirstRunFixture()
    {
        paths.mapDrive(u'C', driveC);
        writeFile(demo + QStringLiteral("/KARVEL/TEMES/First.qbk"), "[Section1]\r\nButton1=A\r\n");
        writeFile(demo + QStringLiteral("/KARVEL/SONGS/дорога.mp3"), "ID3");
        writeFile(demo + QStringLiteral("/WINDOWS/pelcor.ini"),
                  "[OptionS]\r\nCheckBoxNoTxt=ON\r\n");
        writeFile(demo + QStringLiteral("/KARVEL/.hidden"), "h");
        QDir().mkpath(demo + QStringLiteral("/KARVEL/ICONS"));
    }
};

} // namespace

class TestFirstRun : public QObject
{
    Q_OBJECT

private slots:
    void copiesTheDemoWhenDriveCIsMissing();
    void installedFilesBecomeTheUsersToEdit();
    void leavesAnExistingDriveCAlone_data();
    void leavesAnExistingDriveCAlone();
    void missingDemoOrUnmappedDriveDoesNothing();
};

void TestFirstRun::copiesTheDemoWhenDriveCIsMissing()
{
    // A first start gets the whole demo tree as drive C, its parent folders made, no staging left.
    FirstRunFixture f;
    QVERIFY(copyDemoDriveOnFirstRun(f.paths, f.demo));
    QCOMPARE(tree(f.driveC), tree(f.demo));
    QVERIFY(QFileInfo(f.driveC + QStringLiteral("/KARVEL/ICONS")).isDir());
    QCOMPARE(QDir(QFileInfo(f.driveC).absolutePath())
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("drive_c")});
    QVERIFY(f.paths.fileExists(QStringLiteral("C:\\KARVEL\\TEMES\\First.qbk")));

    // The second start finds its drive C and copies nothing over the user's changes.
    writeFile(f.driveC + QStringLiteral("/KARVEL/TEMES/First.qbk"), "edited");
    QVERIFY(!copyDemoDriveOnFirstRun(f.paths, f.demo));
    QCOMPARE(readFile(f.driveC + QStringLiteral("/KARVEL/TEMES/First.qbk")), QByteArray("edited"));
}

void TestFirstRun::installedFilesBecomeTheUsersToEdit()
{
    // A demo installed read-only still gives a drive C whose kit the user can write.
    FirstRunFixture f;
    const QString kit = f.demo + QStringLiteral("/KARVEL/TEMES/First.qbk");
    QVERIFY(QFile::setPermissions(kit, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QVERIFY(copyDemoDriveOnFirstRun(f.paths, f.demo));
    QVERIFY(QFileInfo(f.driveC + QStringLiteral("/KARVEL/TEMES/First.qbk"))
                .permission(QFile::WriteOwner));
}

void TestFirstRun::leavesAnExistingDriveCAlone_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("empty folder") << QStringLiteral("empty");
    QTest::newRow("folder with a kit") << QStringLiteral("kit");
    QTest::newRow("a file of that name") << QStringLiteral("file");
    QTest::newRow("a link to nowhere") << QStringLiteral("dangling");
}

void TestFirstRun::leavesAnExistingDriveCAlone()
{
    // Whatever already stands at drive C's place is neither replaced nor added to.
    QFETCH(QString, kind);
    FirstRunFixture f;
    QVERIFY(QDir().mkpath(QFileInfo(f.driveC).absolutePath()));
    if (kind == QLatin1String("empty"))
        QVERIFY(QDir().mkdir(f.driveC));
    else if (kind == QLatin1String("kit"))
        writeFile(f.driveC + QStringLiteral("/KARVEL/TEMES/Mine.qbk"), "mine");
    else if (kind == QLatin1String("file"))
        writeFile(f.driveC, "not a folder");
    else
        QVERIFY(QFile::link(f.scratch.path() + QStringLiteral("/nowhere"), f.driveC));
    const QMap<QString, QByteArray> before = tree(QFileInfo(f.driveC).absolutePath());

    QVERIFY(!copyDemoDriveOnFirstRun(f.paths, f.demo));
    QCOMPARE(tree(QFileInfo(f.driveC).absolutePath()), before);
    QVERIFY(!QFileInfo::exists(f.scratch.path() + QStringLiteral("/nowhere")));
}

void TestFirstRun::missingDemoOrUnmappedDriveDoesNothing()
{
    // Run from the build tree there is no installed demo: nothing is made, not even the parents.
    FirstRunFixture f;
    QVERIFY(!copyDemoDriveOnFirstRun(f.paths, f.scratch.path() + QStringLiteral("/no/demo")));
    QVERIFY(!QFileInfo::exists(QFileInfo(f.driveC).absolutePath()));

    platform::WinPath unmapped;
    QVERIFY(!copyDemoDriveOnFirstRun(unmapped, f.demo));
    QVERIFY(!QFileInfo::exists(QFileInfo(f.driveC).absolutePath()));
}

QTEST_GUILESS_MAIN(TestFirstRun)
#include "tst_firstrun.moc"
