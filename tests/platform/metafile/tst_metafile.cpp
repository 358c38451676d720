#include "metafilebuilder.h"
#include "platform/metafile/dib.h"
#include "platform/metafile/metafile.h"
#include "platform/platformerror.h"

#include <QRandomGenerator>
#include <QTest>

using namespace metafiletest;

/** Windows metafiles of our own, drawn onto images: the right pixels, and no harm from bad ones. */
class TestMetafile : public QObject
{
    Q_OBJECT

private slots:
    void tellsTheKind_data();
    void tellsTheKind();
    void placeableWmfDrawsItsBoxAtNinetySixDpi();
    void plainWmfMapsItsWindowOntoTheImage();
    void wmfObjectsTakeTheLowestFreeSlot();
    void wmfStretchDibDrawsTheBitmap();
    void wmfTextIsDrawnInTheTextColour();
    void penStyleHoldsOnlyForThinPens_data();
    void penStyleHoldsOnlyForThinPens();
    void emfDrawsShapesWithItsPensAndBrushes();
    void emfWideTextIsDrawnAtItsReferencePoint();
    void emfStretchDibitsDrawsTheBitmapTheRightWayUp();
    void emfAnisotropicMappingScalesTheDrawing();
    void emfPathIsFilled();
    void decodesDibsOfCommonDepths_data();
    void decodesDibsOfCommonDepths();
    void notAMetafileIsRefused();
    void absurdSizesAreBounded();
    void brokenRecordsNeverCrash_data();
    void brokenRecordsNeverCrash();
    void truncatedFilesNeverCrash();
    void randomBytesNeverCrash();
    void endlessDrawingStopsAtTheWorkBudget();
};

namespace {

QImage solidImage(QSize size, const QList<QColor> &quadrants)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixelColor(x, y,
                                quadrants[(y * 2 / size.height()) * 2 + (x * 2 / size.width())]);
    return image;
}

QColor at(const QImage &image, int x, int y)
{
    return image.pixelColor(x, y);
}

QByteArray emfWithRectangle()
{
    EmfBuilder emf;
    emf.createBrush(1, Qt::green);
    emf.select(1);
    emf.select(0x80000008); // NULL_PEN
    emf.rectangle(10, 10, 60, 40);
    return emf.build(100, 50);
}

} // namespace

void TestMetafile::tellsTheKind_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("type");
    WmfBuilder wmf;
    wmf.rectangle(0, 0, 10, 10);
    QTest::newRow("wmf") << wmf.build() << int(platform::MetafileType::Wmf);
    QTest::newRow("placeable") << wmf.build(true, QRect(0, 0, 10, 10))
                               << int(platform::MetafileType::PlaceableWmf);
    QTest::newRow("emf") << emfWithRectangle() << int(platform::MetafileType::Emf);
    QTest::newRow("bmp") << QByteArray("BM\x10\0\0\0", 6) << int(platform::MetafileType::None);
    QTest::newRow("empty") << QByteArray() << int(platform::MetafileType::None);
    QTest::newRow("placeable key only")
        << QByteArray("\xd7\xcd\xc6\x9a", 4) << int(platform::MetafileType::None);
}

void TestMetafile::tellsTheKind()
{
    // The header tells WMF, placeable WMF, EMF and anything else apart.
    QFETCH(QByteArray, bytes);
    QFETCH(int, type);
    QCOMPARE(int(platform::metafileType(bytes)), type);
}

void TestMetafile::placeableWmfDrawsItsBoxAtNinetySixDpi()
{
    // A placeable WMF is as big as its box at its units per inch, its rectangle in place.
    WmfBuilder wmf;
    wmf.createBrush(Qt::red);
    wmf.select(0);
    wmf.createPen(Qt::red, 5);
    wmf.select(1);
    wmf.rectangle(110, 210, 150, 250);
    const QByteArray bytes = wmf.build(true, QRect(100, 200, 100, 50), 192);
    QCOMPARE(platform::metafileSize(bytes).value_or(QSize()), QSize(50, 25));
    const QImage image = platform::loadMetafile(bytes);
    QCOMPARE(image.size(), QSize(50, 25));
    QCOMPARE(at(image, 10, 10), QColor(Qt::red));
    QCOMPARE(at(image, 40, 20).alpha(), 0);
}

void TestMetafile::plainWmfMapsItsWindowOntoTheImage()
{
    // The window a plain WMF sets up fills the requested image; an ellipse lands in its middle.
    WmfBuilder wmf;
    wmf.window(-100, -100, 200, 100);
    wmf.createBrush(Qt::blue);
    wmf.select(0);
    wmf.ellipse(-50, -90, 50, -10);
    const QByteArray bytes = wmf.build();
    QCOMPARE(platform::metafileSize(bytes).value_or(QSize()), QSize(200, 100));
    const QImage image = *platform::renderMetafile(bytes, QSize(100, 50));
    QCOMPARE(image.size(), QSize(100, 50));
    QCOMPARE(at(image, 50, 25), QColor(Qt::blue));
    QCOMPARE(at(image, 5, 25).alpha(), 0);
    QCOMPARE(at(image, 95, 25).alpha(), 0);
}

void TestMetafile::wmfObjectsTakeTheLowestFreeSlot()
{
    // After a delete, the next object reuses the freed slot, as Windows numbers them.
    WmfBuilder wmf;
    wmf.window(0, 0, 10, 10);
    wmf.createBrush(Qt::red);    // slot 0
    wmf.createBrush(Qt::yellow); // slot 1
    wmf.record(0x01f0, {0});     // delete slot 0
    wmf.createBrush(Qt::cyan);   // slot 0 again
    wmf.createPen(Qt::black, 5); // slot 2: the null pen
    wmf.select(2);
    wmf.select(0);
    wmf.rectangle(0, 0, 5, 10);
    wmf.select(1);
    wmf.rectangle(5, 0, 10, 10);
    const QImage image = *platform::renderMetafile(wmf.build(), QSize(10, 10));
    QCOMPARE(at(image, 2, 5), QColor(Qt::cyan));
    QCOMPARE(at(image, 7, 5), QColor(Qt::yellow));
}

void TestMetafile::penStyleHoldsOnlyForThinPens_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("solid");
    QTest::newRow("one pixel: dashed") << 1 << false;
    QTest::newRow("ten pixels: solid") << 10 << true;
}

void TestMetafile::penStyleHoldsOnlyForThinPens()
{
    // As in GDI, a dashed pen wider than a pixel draws solid (dashing a wide pen on a stretched
    // page kept Qt busy for seconds).
    QFETCH(int, width);
    QFETCH(bool, solid);
    WmfBuilder wmf;
    wmf.window(0, 0, 100, 100);
    wmf.createBrush(Qt::white, 1); // hollow
    wmf.select(0);
    wmf.createPen(Qt::red, 1, width);
    wmf.select(1);
    wmf.rectangle(20, 20, 80, 80);
    const QImage image = *platform::renderMetafile(wmf.build(), QSize(100, 100));
    int red = 0;
    for (int x = 25; x < 75; ++x)
        red += at(image, x, 20) == QColor(Qt::red) ? 1 : 0;
    QCOMPARE(red == 50, solid);
    QVERIFY(red > 0);
}

void TestMetafile::wmfStretchDibDrawsTheBitmap()
{
    // STRETCHDIB draws its bitmap stretched onto the target rectangle.
    const QImage source = solidImage(QSize(2, 2), {Qt::red, Qt::green, Qt::blue, Qt::white});
    WmfBuilder wmf;
    wmf.window(0, 0, 40, 40);
    QByteArray params;
    put32(params, 0x00cc0020);
    for (int v : {0, 2, 2, 0, 0, 40, 40, 0, 0})
        put16(params, v);
    params.append(dib24(source));
    wmf.recordBytes(0x0f43, params);
    const QImage image = *platform::renderMetafile(wmf.build(), QSize(40, 40));
    QCOMPARE(at(image, 5, 5), QColor(Qt::red));
    QCOMPARE(at(image, 35, 5), QColor(Qt::green));
    QCOMPARE(at(image, 5, 35), QColor(Qt::blue));
    QCOMPARE(at(image, 35, 35), QColor(Qt::white));
}

void TestMetafile::wmfTextIsDrawnInTheTextColour()
{
    // TEXTOUT draws its (Windows-1251) string in the text colour, and only around its point.
    WmfBuilder wmf;
    wmf.window(0, 0, 200, 60);
    QByteArray font;
    for (int v : {-40, 0, 0, 0, 700})
        put16(font, v);
    font.append(QByteArray("\0\0\0\xcc\0\0\0\0", 8));
    font.append(QByteArray("Sans").leftJustified(32, '\0'));
    wmf.recordBytes(0x02fb, font);
    wmf.select(0);
    wmf.record(0x0102, {1}); // transparent background
    wmf.record(0x0209, {0x00ff, 0});
    QByteArray text;
    put16(text, 4);
    text.append("\xc6\xc6\xc6\xc6");
    put16(text, 10);
    put16(text, 10);
    wmf.recordBytes(0x0521, text);
    const QImage image = *platform::renderMetafile(wmf.build(), QSize(200, 60));
    int red = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) {
            const QColor c = at(image, x, y);
            if (c.alpha() == 255 && c.red() > 200 && c.green() < 60)
                ++red;
            if (c.alpha() > 0)
                QVERIFY2(x >= 8 && y >= 8 && y <= 55,
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
    QVERIFY(red > 50);
}

void TestMetafile::emfDrawsShapesWithItsPensAndBrushes()
{
    // An EMF rectangle with a green brush and a null pen fills exactly its area.
    const QByteArray bytes = emfWithRectangle();
    QCOMPARE(platform::metafileSize(bytes).value_or(QSize()), QSize(100, 50));
    const QImage image = platform::loadMetafile(bytes);
    QCOMPARE(at(image, 30, 25), QColor(Qt::green));
    QCOMPARE(at(image, 5, 5).alpha(), 0);
    QCOMPARE(at(image, 70, 45).alpha(), 0);

    // Lines take the selected pen.
    EmfBuilder emf;
    emf.createPen(1, Qt::magenta, 4);
    emf.select(1);
    emf.record(27, EmfBuilder::ints({0, 20}));   // MOVETOEX
    emf.record(54, EmfBuilder::ints({100, 20})); // LINETO
    const QImage line = platform::loadMetafile(emf.build(100, 40));
    QCOMPARE(at(line, 50, 20), QColor(Qt::magenta));
    QCOMPARE(at(line, 50, 5).alpha(), 0);
}

void TestMetafile::emfWideTextIsDrawnAtItsReferencePoint()
{
    // EXTTEXTOUTW draws its UTF-16 text in the text colour, below and right of its point.
    EmfBuilder emf;
    QByteArray font = EmfBuilder::ints({1, -30, 0, 0, 0, 700});
    font.append(QByteArray("\0\0\0\xcc\0\0\0\0", 8));
    for (const QChar c : QStringLiteral("Sans").leftJustified(32, QChar(0)))
        put16(font, c.unicode());
    emf.record(82, font);
    emf.select(1);
    emf.record(18, EmfBuilder::ints({1}));                  // transparent background
    emf.record(24, EmfBuilder::ints({colorRef(Qt::blue)})); // text colour
    const QString text = QStringLiteral("ЖЖЖ");
    QByteArray params =
        EmfBuilder::ints({0, 0, 0, 0, 1, 0, 0, 20, 20, text.size(), 8 + 68, 0, 0, 0, 0, 0, 0});
    for (const QChar c : text)
        put16(params, c.unicode());
    emf.record(84, params);
    const QImage image = platform::loadMetafile(emf.build(120, 60));
    int blue = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = at(image, x, y);
            if (c.alpha() == 255 && c.blue() > 200 && c.red() < 60)
                ++blue;
            if (c.alpha() > 0)
                QVERIFY2(x >= 18 && y >= 18, qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
    QVERIFY(blue > 50);
}

void TestMetafile::emfStretchDibitsDrawsTheBitmapTheRightWayUp()
{
    // A bottom-up DIB in STRETCHDIBITS comes out with its first row at the top.
    const QImage source = solidImage(QSize(4, 4), {Qt::red, Qt::green, Qt::blue, Qt::yellow});
    const QByteArray dib = dib24(source);
    QByteArray params = EmfBuilder::ints({0, 0, 39, 39, 0, 0, 0, 0, 4, 4});
    const qint64 infoOffset = 8 + params.size() + 32;
    params +=
        EmfBuilder::ints({infoOffset, 40, infoOffset + 40, dib.size() - 40, 0, 0x00cc0020, 40, 40});
    params += dib;
    EmfBuilder emf;
    emf.record(81, params);
    const QImage image = platform::loadMetafile(emf.build(40, 40));
    QCOMPARE(at(image, 5, 5), QColor(Qt::red));
    QCOMPARE(at(image, 35, 5), QColor(Qt::green));
    QCOMPARE(at(image, 5, 35), QColor(Qt::blue));
    QCOMPARE(at(image, 35, 35), QColor(Qt::yellow));
}

void TestMetafile::emfAnisotropicMappingScalesTheDrawing()
{
    // With MM_ANISOTROPIC a window of 1000 x 1000 units maps onto a 100 x 100 viewport.
    EmfBuilder emf;
    emf.record(17, EmfBuilder::ints({8}));
    emf.record(9, EmfBuilder::ints({1000, 1000}));
    emf.record(11, EmfBuilder::ints({100, 100}));
    emf.createBrush(1, Qt::red);
    emf.select(1);
    emf.select(0x80000008);
    emf.rectangle(500, 0, 1000, 500);
    const QImage image = platform::loadMetafile(emf.build(100, 100));
    QCOMPARE(at(image, 75, 25), QColor(Qt::red));
    QCOMPARE(at(image, 25, 25).alpha(), 0);
    QCOMPARE(at(image, 75, 75).alpha(), 0);
}

void TestMetafile::emfPathIsFilled()
{
    // A path built between BEGINPATH and ENDPATH is filled by FILLPATH, and not drawn before.
    EmfBuilder emf;
    emf.createBrush(1, Qt::blue);
    emf.select(1);
    emf.record(59, {});
    emf.record(27, EmfBuilder::ints({10, 10}));
    emf.record(54, EmfBuilder::ints({90, 10}));
    emf.record(54, EmfBuilder::ints({90, 90}));
    emf.record(54, EmfBuilder::ints({10, 90}));
    emf.record(61, {});
    emf.record(60, {});
    emf.record(62, EmfBuilder::ints({0, 0, 100, 100}));
    const QImage image = platform::loadMetafile(emf.build(100, 100));
    QCOMPARE(at(image, 50, 50), QColor(Qt::blue));
    QCOMPARE(at(image, 5, 5).alpha(), 0);
}

void TestMetafile::decodesDibsOfCommonDepths_data()
{
    QTest::addColumn<int>("depth");
    QTest::newRow("1 bit") << 1;
    QTest::newRow("4 bits") << 4;
    QTest::newRow("8 bits") << 8;
    QTest::newRow("24 bits") << 24;
    QTest::newRow("32 bits") << 32;
}

void TestMetafile::decodesDibsOfCommonDepths()
{
    // A 3 x 2 DIB with a palette (or direct colours) decodes to the right colours.
    QFETCH(int, depth);
    const QColor first = Qt::black, second = Qt::white;
    QByteArray dib;
    put32(dib, 40);
    put32(dib, 3);
    put32(dib, 2);
    put16(dib, 1);
    put16(dib, depth);
    for (int i = 0; i < 6; ++i)
        put32(dib, i == 4 && depth <= 8 ? 2 : 0);
    if (depth <= 8) {
        put32(dib, colorRef(first) >> 0 & 0 ? 0 : 0x000000);
        put32(dib, 0x00ffffff);
    }
    const int rowBytes = ((3 * depth + 31) / 32) * 4;
    // Bottom row first: bottom row all second colour, top row first, second, first.
    for (int row = 0; row < 2; ++row) {
        const bool top = row == 1;
        QByteArray bits(rowBytes, '\0');
        for (int x = 0; x < 3; ++x) {
            const bool white = !top || x == 1;
            if (depth <= 8) {
                const int bit = x * depth;
                if (white)
                    bits[bit / 8] = char(bits[bit / 8] | (1 << (8 - depth - bit % 8)));
            } else {
                for (int b = 0; b < 3; ++b)
                    bits[x * depth / 8 + b] = white ? char(0xff) : char(0);
            }
        }
        dib.append(bits);
    }
    const QImage image = platform::decodeDib(dib, 1000);
    QCOMPARE(image.size(), QSize(3, 2));
    QCOMPARE(QColor(image.pixel(0, 0)), first);
    QCOMPARE(QColor(image.pixel(1, 0)), second);
    QCOMPARE(QColor(image.pixel(2, 1)), second);
    // Past the pixel bound, nothing is decoded.
    QVERIFY(platform::decodeDib(dib, 5).isNull());
}

void TestMetafile::notAMetafileIsRefused()
{
    // Bytes that are no metafile give nothing, and the throwing form names the reason.
    QVERIFY(!platform::renderMetafile(QByteArray("GIF89a......")));
    try {
        platform::loadMetafile(QByteArray("not a picture"));
        QFAIL("no error");
    } catch (const platform::PlatformError &error) {
        QVERIFY(error.text().contains(QLatin1String("metafile")));
    }
}

void TestMetafile::absurdSizesAreBounded()
{
    // A header claiming a huge picture, or a huge requested size, stays inside the limits.
    WmfBuilder wmf;
    wmf.rectangle(0, 0, 10, 10);
    const QByteArray huge = wmf.build(true, QRect(-32000, -32000, 64000, 64000), 1);
    const QSize size = *platform::metafileSize(huge);
    QVERIFY(size.width() <= platform::MetafileLimits::maxSide);
    QVERIFY(qint64(size.width()) * size.height() <= platform::MetafileLimits::maxPixels);
    const QImage image = *platform::renderMetafile(wmf.build(), QSize(100000, 100000));
    QVERIFY(qint64(image.width()) * image.height() <= platform::MetafileLimits::maxPixels);
}

void TestMetafile::brokenRecordsNeverCrash_data()
{
    QTest::addColumn<QByteArray>("bytes");
    {
        WmfBuilder wmf;
        wmf.record(0x0325, {32767, 1, 2}); // a polyline claiming more points than it holds
        wmf.record(0x0538, {30000, 5});    // a polypolygon likewise
        wmf.record(0x0521, {-5, 0, 0});    // text of negative length
        wmf.record(0x0a32, {0, 0, 32767, 6, 0, 0, 0, 0});
        wmf.record(0x0127, {-30000}); // restoring states never saved
        wmf.record(0x012d, {65535});  // selecting an object that does not exist
        wmf.record(0x020c, {0, 0});   // an empty window
        wmf.rectangle(-32768, -32768, 32767, 32767);
        wmf.recordBytes(0x0f43, QByteArray(30, '\xff')); // a broken bitmap
        QTest::newRow("wmf") << wmf.build();
    }
    {
        EmfBuilder emf;
        emf.record(3, EmfBuilder::ints({0, 0, 0, 0, 0x7fffffff, 1, 2}));
        emf.record(8, EmfBuilder::ints({0, 0, 0, 0, 0x7fffffff, 5, 1}));
        emf.record(84, EmfBuilder::ints({0, 0, 0, 0, 1, 0, 0, 0, 0, 0x7fffffff, 0x7ffffff0, 0}));
        emf.record(81, EmfBuilder::ints({0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0x7fffffff, 40, 8, 8}));
        emf.record(35, QByteArray(24, '\xff')); // a NaN world transform
        emf.record(36, EmfBuilder::ints({0x7f800000, 0, 0, 0x7f800000, 0, 0, 4}));
        emf.record(34, EmfBuilder::ints({-1000000}));
        emf.record(37, EmfBuilder::ints({0x7fffffff}));
        emf.record(17, EmfBuilder::ints({8}));
        emf.record(9, EmfBuilder::ints({1, 1}));
        emf.record(11, EmfBuilder::ints({0x7fffffff, 0x7fffffff}));
        emf.rectangle(-0x7fffffff, -0x7fffffff, 0x7fffffff, 0x7fffffff);
        emf.createPen(1, Qt::red, 0x7fffffff, 1);
        emf.select(1);
        emf.record(54, EmfBuilder::ints({0x7fffffff, 0}));
        QTest::newRow("emf") << emf.build(100, 100);
    }
}

void TestMetafile::brokenRecordsNeverCrash()
{
    // Records whose counts, offsets and numbers lie are skipped without harm.
    QFETCH(QByteArray, bytes);
    const std::optional<QImage> image = platform::renderMetafile(bytes);
    QVERIFY(image.has_value());
}

void TestMetafile::truncatedFilesNeverCrash()
{
    // Every prefix of a metafile draws what it holds, or is refused.
    const QImage source = solidImage(QSize(2, 2), {Qt::red, Qt::green, Qt::blue, Qt::white});
    WmfBuilder wmf;
    wmf.window(0, 0, 40, 40);
    wmf.createBrush(Qt::red);
    wmf.select(0);
    wmf.ellipse(0, 0, 30, 30);
    QByteArray params;
    put32(params, 0x00cc0020);
    for (int v : {0, 2, 2, 0, 0, 40, 40, 0, 0})
        put16(params, v);
    params.append(dib24(source));
    wmf.recordBytes(0x0f43, params);
    for (const QByteArray &bytes : {wmf.build(true, QRect(0, 0, 40, 40)), emfWithRectangle()})
        for (qsizetype n = 0; n < bytes.size(); ++n)
            platform::renderMetafile(bytes.first(n), QSize(16, 16));
}

void TestMetafile::randomBytesNeverCrash()
{
    // Random bytes behind a valid header are played without harm.
    QRandomGenerator random(1234);
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes =
            round % 2 ? emfWithRectangle().first(88) : WmfBuilder().build().first(18);
        const int size = int(random.bounded(2000));
        for (int i = 0; i < size; ++i)
            bytes.append(char(random.bounded(256)));
        platform::renderMetafile(bytes, QSize(32, 32));
    }
}

void TestMetafile::endlessDrawingStopsAtTheWorkBudget()
{
    // A metafile that fills its whole picture a million times is cut short, not played out.
    WmfBuilder wmf;
    wmf.window(0, 0, 100, 100);
    wmf.createBrush(Qt::red);
    wmf.select(0);
    for (int i = 0; i < 1'000'000; ++i)
        wmf.rectangle(0, 0, 100, 100);
    const QImage image = *platform::renderMetafile(wmf.build(), QSize(1000, 1000));
    QCOMPARE(at(image, 500, 500), QColor(Qt::red));
}

QTEST_MAIN(TestMetafile)
#include "tst_metafile.moc"
