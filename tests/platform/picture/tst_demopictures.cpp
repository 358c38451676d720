#include "platform/codepage.h"
#include "platform/picture/picture.h"
#include "platform/winpath.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

platform::WinPath demoDrive()
{
    platform::WinPath paths;
    paths.mapDrive(u'C', QStringLiteral(KARVEL_DEMO_DRIVE));
    return paths;
}

} // namespace

class TestDemoPictures : public QObject
{
    Q_OBJECT

private slots:
    void kitIconsLoad_data();
    void kitIconsLoad();
    void fixedPicturesLoad_data();
    void fixedPicturesLoad();
};

void TestDemoPictures::kitIconsLoad_data()
{
    QTest::addColumn<QString>("path");
    const QDir kits(QStringLiteral(KARVEL_DEMO_DRIVE "/KARVEL/TEMES"));
    const auto names = kits.entryList({QStringLiteral("*.qbk")}, QDir::Files, QDir::Name);
    QVERIFY(!names.isEmpty());
    for (const QString &name : names) {
        QFile kit(kits.filePath(name));
        QVERIFY(kit.open(QIODevice::ReadOnly));
        const QString text = platform::CodePage::ansi().decode(kit.readAll());
        for (const QString &line : text.split(QStringLiteral("\r\n"))) {
            if (line.startsWith(QStringLiteral("Icon"), Qt::CaseInsensitive)) {
                const QString path = line.section(u'=', 1);
                QTest::addRow("%s %s", qPrintable(name), qPrintable(line.section(u'=', 0, 0)))
                    << path;
            }
        }
    }
}

// Every icon a demo kit names loads, as a bitmap and by its type, whatever its letter case.
void TestDemoPictures::kitIconsLoad()
{
    QFETCH(QString, path);
    const platform::WinPath paths = demoDrive();
    QCOMPARE(platform::loadPicture(paths, path).size(), QSize(32, 32));
    QCOMPARE(platform::loadBitmap(paths, path).size(), QSize(32, 32));
}

void TestDemoPictures::fixedPicturesLoad_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::newRow("song glyph") << QStringLiteral("C:\\KARVEL\\NoIcoS.bmp") << QSize(16, 16);
    QTest::newRow("theme glyph") << QStringLiteral("C:\\KARVEL\\NoIcoT.bmp") << QSize(16, 16);
    QTest::newRow("splash") << QStringLiteral("C:\\KARVEL\\Zastavka.jpg") << QSize(284, 357);
}

// The fallback glyphs and the splash picture of the demo drive load at their sizes.
void TestDemoPictures::fixedPicturesLoad()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QCOMPARE(platform::loadPicture(demoDrive(), path).size(), size);
}

QTEST_GUILESS_MAIN(TestDemoPictures)
#include "tst_demopictures.moc"
