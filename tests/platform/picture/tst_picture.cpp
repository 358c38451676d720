#include "platform/picture/picture.h"
#include "platform/picture/transparency.h"
#include "platform/platformerror.h"
#include "support/tempdrive.h"

#include <QBuffer>
#include <QImageWriter>
#include <QTest>
#include <QtEndian>

namespace {

void putLe16(QByteArray &bytes, quint16 value)
{
    char raw[2];
    qToLittleEndian(value, raw);
    bytes.append(raw, 2);
}

void putLe32(QByteArray &bytes, quint32 value)
{
    char raw[4];
    qToLittleEndian(value, raw);
    bytes.append(raw, 4);
}

/** A Windows bitmap as Paint writes it: file header, info header, optional palette, rows. */
QByteArray windowsBitmap(qint32 width, qint32 height, quint16 bitsPerPixel, qsizetype pixelBytes)
{
    const quint32 paletteBytes = bitsPerPixel == 8 ? 256 * 4 : 0;
    const quint32 offset = 14 + 40 + paletteBytes;
    QByteArray bytes("BM");
    putLe32(bytes, quint32(offset + pixelBytes));
    putLe32(bytes, 0);
    putLe32(bytes, offset);
    putLe32(bytes, 40);
    putLe32(bytes, quint32(width));
    putLe32(bytes, quint32(height));
    putLe16(bytes, 1);
    putLe16(bytes, bitsPerPixel);
    putLe32(bytes, 0); // BI_RGB
    putLe32(bytes, quint32(pixelBytes));
    putLe32(bytes, 2835);
    putLe32(bytes, 2835);
    putLe32(bytes, bitsPerPixel == 8 ? 256 : 0);
    putLe32(bytes, 0);
    for (quint32 i = 0; i < paletteBytes / 4; ++i) {
        bytes.append(char(i));
        bytes.append(char(255 - i));
        bytes.append(char(i / 2));
        bytes.append('\0');
    }
    bytes.append(QByteArray(pixelBytes, '\x40'));
    return bytes;
}

QByteArray bitmap24(int width, int height)
{
    const int stride = (width * 3 + 3) / 4 * 4;
    return windowsBitmap(width, height, 24, qsizetype(stride) * height);
}

QByteArray bitmap8(int width, int height)
{
    const int stride = (width + 3) / 4 * 4;
    return windowsBitmap(width, height, 8, qsizetype(stride) * height);
}

/** A JPEG whose frame header claims `side` x `side` pixels over the pixels of a small one. */
QByteArray forgedJpeg(quint16 side);

/** A Windows icon file with one 32-bit entry of each of the given sides. */
QByteArray iconFile(const QList<int> &sides)
{
    QByteArray directory;
    QByteArray images;
    putLe16(directory, 0);
    putLe16(directory, 1); // icon
    putLe16(directory, quint16(sides.size()));
    qsizetype offset = 6 + 16 * sides.size();
    for (int side : sides) {
        QByteArray image;
        putLe32(image, 40);
        putLe32(image, quint32(side));
        putLe32(image, quint32(side * 2)); // colour rows, then mask rows
        putLe16(image, 1);
        putLe16(image, 32);
        for (int i = 0; i < 6; ++i)
            putLe32(image, 0);
        image.append(QByteArray(qsizetype(side) * side * 4, '\x7f'));
        image.append(QByteArray(qsizetype((side + 31) / 32 * 4) * side, '\0'));

        directory.append(char(side));
        directory.append(char(side));
        directory.append('\0'); // colours
        directory.append('\0');
        putLe16(directory, 1);  // planes
        putLe16(directory, 32); // bits
        putLe32(directory, quint32(image.size()));
        putLe32(directory, quint32(offset));
        offset += image.size();
        images += image;
    }
    return directory + images;
}

/** A placeable WMF of one inch by half an inch that draws nothing. */
QByteArray placeableMetafile()
{
    QByteArray bytes;
    putLe32(bytes, 0x9AC6CDD7);
    const quint16 box[] = {0, 0, 0, 1440, 720, 1440}; // handle, left, top, right, bottom, inch
    for (quint16 word : box)
        putLe16(bytes, word);
    putLe32(bytes, 0);
    quint16 checksum = 0;
    for (int i = 0; i < 20; i += 2)
        checksum ^= qFromLittleEndian<quint16>(bytes.constData() + i);
    putLe16(bytes, checksum);
    putLe16(bytes, 1);      // in memory
    putLe16(bytes, 9);      // header words
    putLe16(bytes, 0x0300); // version
    putLe32(bytes, 9 + 3);  // file words
    putLe16(bytes, 0);      // objects
    putLe32(bytes, 3);      // largest record
    putLe16(bytes, 0);
    putLe32(bytes, 3); // end of file record
    putLe16(bytes, 0);
    return bytes;
}

QByteArray encoded(int width, int height, const char *format)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(QColor(200, 30, 90));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image))
        qFatal("cannot encode %s: %s", format, qPrintable(writer.errorString()));
    return bytes;
}

QByteArray forgedJpeg(quint16 side)
{
    QByteArray bytes = encoded(16, 16, "jpeg");
    const qsizetype frame = bytes.indexOf("\xff\xc0");
    if (frame < 0)
        qFatal("no baseline frame header");
    // Marker, length, precision, then height and width, big-endian.
    qToBigEndian(side, bytes.data() + frame + 5);
    qToBigEndian(side, bytes.data() + frame + 7);
    return bytes;
}

} // namespace

class TestPicture : public QObject
{
    Q_OBJECT

private slots:
    void loadsByExtension_data();
    void loadsByExtension();
    void refusesWithReason_data();
    void refusesWithReason();
    void bitmapIgnoresExtension();
    void bitmapRefusesOtherTypes();
    void transparencyFollowsBottomLeftPixel();
};

void TestPicture::loadsByExtension_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QSize>("size");

    const QString bmp = QStringLiteral("C:\\KARVEL\\ICONS\\note.bmp");
    QTest::newRow("24-bit bmp") << bmp << bitmap24(5, 3) << bmp << QSize(5, 3);
    QTest::newRow("8-bit bmp") << bmp << bitmap8(32, 32) << bmp << QSize(32, 32);
    QTest::newRow("upper-case extension")
        << QStringLiteral("C:\\KARVEL\\ICONS\\NOTE.BMP") << bitmap24(13, 13)
        << QStringLiteral("C:\\KARVEL\\ICONS\\NOTE.BMP") << QSize(13, 13);
    QTest::newRow("name case differs from the disk")
        << bmp << bitmap24(16, 16) << QStringLiteral("C:\\karvel\\Icons\\NOTE.Bmp")
        << QSize(16, 16);
    QTest::newRow("ico") << QStringLiteral("C:\\KARVEL\\ICONS\\mic.ico") << encoded(16, 16, "ico")
                         << QStringLiteral("C:\\KARVEL\\ICONS\\mic.ico") << QSize(16, 16);
    QTest::newRow("largest icon of several")
        << QStringLiteral("C:\\KARVEL\\ICONS\\sizes.ico") << iconFile({16, 48, 32})
        << QStringLiteral("C:\\KARVEL\\ICONS\\sizes.ico") << QSize(48, 48);
    QTest::newRow("jpg") << QStringLiteral("C:\\KARVEL\\Zastavka.jpg") << encoded(284, 357, "jpeg")
                         << QStringLiteral("C:\\KARVEL\\Zastavka.jpg") << QSize(284, 357);
    QTest::newRow("JPEG") << QStringLiteral("C:\\KARVEL\\STAGE.JPEG") << encoded(20, 10, "jpeg")
                          << QStringLiteral("C:\\KARVEL\\STAGE.JPEG") << QSize(20, 10);
    QTest::newRow("wmf") << QStringLiteral("C:\\KARVEL\\logo.wmf") << placeableMetafile()
                         << QStringLiteral("C:\\KARVEL\\LOGO.WMF") << QSize(96, 48);
}

// A picture loads by its extension, whatever the letter case of the extension or the path.
void TestPicture::loadsByExtension()
{
    QFETCH(QString, stored);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, asked);
    QFETCH(QSize, size);

    TempDrive drive;
    drive.write(stored, bytes);
    const QImage image = platform::loadPicture(drive.paths(), asked);
    QCOMPARE(image.size(), size);
}

void TestPicture::refusesWithReason_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("bytes"); // empty: no file is written
    QTest::addColumn<QString>("reason");

    QByteArray brokenHeader = bitmap24(8, 8);
    brokenHeader[14] = '\x07'; // an info header size no bitmap has
    QByteArray zeroWidth = bitmap24(8, 8);
    zeroWidth.replace(18, 4, QByteArray(4, '\0'));

    QTest::newRow("missing file") << QStringLiteral("C:\\KARVEL\\none.bmp") << QByteArray()
                                  << QStringLiteral("the file does not exist");
    QTest::newRow("broken header") << QStringLiteral("C:\\KARVEL\\broken.bmp") << brokenHeader
                                   << QStringLiteral("not a valid BMP picture");
    QTest::newRow("zero width") << QStringLiteral("C:\\KARVEL\\flat.bmp") << zeroWidth
                                << QStringLiteral("not a valid BMP picture");
    QTest::newRow("text named bmp") << QStringLiteral("C:\\KARVEL\\words.bmp")
                                    << QByteArray("These are words, not a picture.\r\n")
                                    << QStringLiteral("not a valid BMP picture");
    QTest::newRow("jpeg named bmp")
        << QStringLiteral("C:\\KARVEL\\photo.bmp") << encoded(8, 8, "jpeg")
        << QStringLiteral("not a valid BMP picture");
    QTest::newRow("bmp named jpg") << QStringLiteral("C:\\KARVEL\\photo.jpg") << bitmap24(8, 8)
                                   << QStringLiteral("not a valid JPEG picture");
    QTest::newRow("bmp named ico") << QStringLiteral("C:\\KARVEL\\icon.ico") << bitmap24(8, 8)
                                   << QStringLiteral("not a valid ICO picture");
    QTest::newRow("huge header") << QStringLiteral("C:\\KARVEL\\huge.bmp")
                                 << windowsBitmap(100000, 100000, 24, 64)
                                 << QStringLiteral("too large (100000 x 100000 pixels)");
    QTest::newRow("one huge side")
        << QStringLiteral("C:\\KARVEL\\strip.bmp") << windowsBitmap(1, 70000, 24, 64)
        << QStringLiteral("too large (1 x 70000 pixels)");
    QTest::newRow("both sides at the largest integer")
        << QStringLiteral("C:\\KARVEL\\vast.bmp") << windowsBitmap(INT_MAX, INT_MAX, 24, 64)
        << QStringLiteral("too large (2147483647 x 2147483647 pixels)");
    QTest::newRow("huge jpeg header")
        << QStringLiteral("C:\\KARVEL\\Zastavka.jpg") << forgedJpeg(60000)
        << QStringLiteral("too large (60000 x 60000 pixels)");
    QTest::newRow("unknown type") << QStringLiteral("C:\\KARVEL\\a.png") << encoded(4, 4, "png")
                                  << QStringLiteral("unknown picture type \".png\"");
    QTest::newRow("no extension") << QStringLiteral("C:\\KARVEL\\picture") << bitmap24(4, 4)
                                  << QStringLiteral("the file name has no picture type");
    QTest::newRow("broken metafile")
        << QStringLiteral("C:\\KARVEL\\logo.WMF") << QByteArray("\xd7\xcd\xc6\x9a")
        << QStringLiteral("not a valid metafile picture");
    QTest::newRow("text named emf")
        << QStringLiteral("C:\\KARVEL\\logo.emf") << QByteArray("no drawing here")
        << QStringLiteral("not a valid metafile picture");
}

// A picture that cannot be loaded throws a text naming the path and the reason, never a null image.
void TestPicture::refusesWithReason()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);

    TempDrive drive;
    drive.makeFolder(QStringLiteral("C:\\KARVEL"));
    if (!bytes.isEmpty())
        drive.write(path, bytes);
    try {
        platform::loadPicture(drive.paths(), path);
        QFAIL("no error");
    } catch (const platform::PlatformError &error) {
        QVERIFY2(error.text().startsWith(QStringLiteral("Cannot load picture ") + path +
                                         QStringLiteral(": ")),
                 qPrintable(error.text()));
        QVERIFY2(error.text().contains(reason), qPrintable(error.text()));
    }
}

// A glyph is read as a Windows bitmap whatever its file is called.
void TestPicture::bitmapIgnoresExtension()
{
    TempDrive drive;
    drive.write(QStringLiteral("C:\\KARVEL\\glyph.dat"), bitmap8(13, 13));
    QCOMPARE(platform::loadBitmap(drive.paths(), QStringLiteral("C:\\KARVEL\\GLYPH.DAT")).size(),
             QSize(13, 13));
}

// A glyph file that is no bitmap, or is missing, throws instead of leaving an empty glyph.
void TestPicture::bitmapRefusesOtherTypes()
{
    TempDrive drive;
    drive.write(QStringLiteral("C:\\KARVEL\\NoIcoS.bmp"), encoded(13, 13, "jpeg"));
    QVERIFY_THROWS_EXCEPTION(
        platform::PlatformError,
        platform::loadBitmap(drive.paths(), QStringLiteral("C:\\KARVEL\\NoIcoS.bmp")));
    QVERIFY_THROWS_EXCEPTION(
        platform::PlatformError,
        platform::loadBitmap(drive.paths(), QStringLiteral("C:\\KARVEL\\NoIcoT.bmp")));
}

// Pixels of the bottom-left pixel's colour turn transparent; a picture with alpha stays as it is.
void TestPicture::transparencyFollowsBottomLeftPixel()
{
    QImage bitmap(4, 3, QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    bitmap.setPixelColor(1, 1, Qt::red);
    bitmap.setPixelColor(3, 0, QColor(254, 255, 255));
    const QImage shown = platform::bottomLeftTransparent(bitmap);
    QCOMPARE(shown.pixelColor(0, 2).alpha(), 0);
    QCOMPARE(shown.pixelColor(2, 0).alpha(), 0);
    QCOMPARE(shown.pixelColor(1, 1), QColor(Qt::red));
    QCOMPARE(shown.pixelColor(3, 0), QColor(254, 255, 255));

    QImage withAlpha(2, 2, QImage::Format_ARGB32);
    withAlpha.fill(QColor(0, 0, 255, 128));
    QCOMPARE(platform::bottomLeftTransparent(withAlpha), withAlpha);
}

QTEST_GUILESS_MAIN(TestPicture)
#include "tst_picture.moc"
