#include "../metafile/metafilebuilder.h"
#include "platform/richtext/rtfreader.h"

#include <QBuffer>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>

using namespace metafiletest;

/** Pictures in RTF: each kind becomes an image of the document, at the size the file asks. */
class TestRtfPictures : public QObject
{
    Q_OBJECT

private slots:
    void picturesBecomeImages_data();
    void picturesBecomeImages();
    void wordsAlternativePictureIsShownOnce();
    void picturesPastTheBoundsAreLeftOut();
};

namespace {

QImage quadrants()
{
    QImage image(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            image.setPixelColor(x, y, x < 4 ? (y < 4 ? Qt::red : Qt::blue) : Qt::green);
    return image;
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 100);
    return bytes;
}

QByteArray hexLines(const QByteArray &bytes)
{
    QByteArray hex = bytes.toHex();
    QByteArray out;
    for (qsizetype i = 0; i < hex.size(); i += 128)
        out += hex.mid(i, 128) + "\r\n";
    return out;
}

struct Found
{
    QImage image;
    QSizeF size;
    QString text;
};

Found readPicture(const QByteArray &rtf, const platform::RichTextLimits &limits = {})
{
    QTextDocument document;
    platform::RtfReader(limits).read(rtf, document);
    Found found;
    found.text = document.toPlainText();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isImageFormat())
                continue;
            const QTextImageFormat image = format.toImageFormat();
            found.image =
                document.resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
            found.size = QSizeF(image.width(), image.height());
        }
    return found;
}

const QByteArray prefix = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\pard before ";

} // namespace

void TestRtfPictures::picturesBecomeImages_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QSizeF>("size");
    QTest::addColumn<bool>("exactColours");
    const QImage image = quadrants();
    QTest::newRow("png, as WordPad writes it")
        << prefix + "{\\pict\\pngblip\\picw8\\pich8\\picwgoal1200\\pichgoal600 " +
               hexLines(encoded(image, "PNG")) + "} after\\par}"
        << QSizeF(80, 40) << true;
    QTest::newRow("png in binary, scaled")
        << prefix + "{\\pict\\pngblip\\picw8\\pich8\\picscalex50\\picscaley200\\bin" +
               QByteArray::number(encoded(image, "PNG").size()) + " " + encoded(image, "PNG") +
               "} after\\par}"
        << QSizeF(4, 16) << true;
    QTest::newRow("jpeg") << prefix + "{\\pict\\jpegblip\\picw8\\pich8 " +
                                 hexLines(encoded(image, "JPEG")) + "} after\\par}"
                          << QSizeF(8, 8) << false;
    QTest::newRow("dib") << prefix + "{\\pict\\dibitmap0\\picw8\\pich8\\picwgoal240\\pichgoal240 " +
                                hexLines(dib24(image)) + "} after\\par}"
                         << QSizeF(16, 16) << true;

    WmfBuilder wmf;
    wmf.record(0x0103, {8}); // MM_ANISOTROPIC
    wmf.window(0, 0, 80, 80);
    wmf.createPen(Qt::black, 5);
    wmf.select(0);
    wmf.createBrush(Qt::red);
    wmf.select(1);
    wmf.rectangle(0, 0, 40, 40);
    wmf.createBrush(Qt::blue);
    wmf.select(2);
    wmf.rectangle(0, 40, 40, 80);
    wmf.createBrush(Qt::green);
    wmf.select(3);
    wmf.rectangle(40, 0, 80, 80);
    // \picw and \pich of a metafile are in hundredths of a millimetre.
    QTest::newRow("wmf") << prefix + "{\\pict\\wmetafile8\\picw2117\\pich2117 " +
                                hexLines(wmf.build()) + "} after\\par}"
                         << QSizeF(80, 80) << true;

    EmfBuilder emf;
    emf.select(0x80000008);
    emf.createBrush(1, Qt::red);
    emf.select(1);
    emf.rectangle(0, 0, 40, 40);
    emf.createBrush(2, Qt::blue);
    emf.select(2);
    emf.rectangle(0, 40, 40, 80);
    emf.createBrush(3, Qt::green);
    emf.select(3);
    emf.rectangle(40, 0, 80, 80);
    QTest::newRow("emf") << prefix + "{\\pict\\emfblip\\picwgoal600\\pichgoal600 " +
                                hexLines(emf.build(80, 80)) + "} after\\par}"
                         << QSizeF(40, 40) << true;
}

void TestRtfPictures::picturesBecomeImages()
{
    // The picture is an image in the text, at its goal size, with its own pixels.
    QFETCH(QByteArray, rtf);
    QFETCH(QSizeF, size);
    QFETCH(bool, exactColours);
    const Found found = readPicture(rtf);
    QCOMPARE(found.text, QStringLiteral("before \ufffc after"));
    QVERIFY(!found.image.isNull());
    QCOMPARE(found.size.toSize(), size.toSize());
    const auto near = [&](double fx, double fy, QColor expected) {
        const QColor c =
            found.image.pixelColor(int(fx * found.image.width()), int(fy * found.image.height()));
        const int tolerance = exactColours ? 0 : 40;
        return std::abs(c.red() - expected.red()) <= tolerance &&
               std::abs(c.green() - expected.green()) <= tolerance &&
               std::abs(c.blue() - expected.blue()) <= tolerance;
    };
    QVERIFY(near(0.2, 0.2, Qt::red));
    QVERIFY(near(0.2, 0.8, Qt::blue));
    QVERIFY(near(0.8, 0.5, Qt::green));
}

void TestRtfPictures::wordsAlternativePictureIsShownOnce()
{
    // Word writes a picture twice, for new readers and old ones; only one is shown.
    const QByteArray png = hexLines(encoded(quadrants(), "PNG"));
    const QByteArray rtf = prefix + "{\\*\\shppict{\\pict\\pngblip\\picw8\\pich8 " + png +
                           "}}{\\nonshppict{\\pict\\wmetafile8\\picw8\\pich8 0100}} after\\par}";
    QCOMPARE(readPicture(rtf).text, QStringLiteral("before \ufffc after"));
}

void TestRtfPictures::picturesPastTheBoundsAreLeftOut()
{
    // A picture whose data or pixels pass the bounds is left out; the text goes on.
    const QByteArray png = hexLines(encoded(quadrants(), "PNG"));
    platform::RichTextLimits limits;
    limits.maxPictureBytes = 32;
    QCOMPARE(readPicture(prefix + "{\\pict\\pngblip " + png + "} after}", limits).text,
             QStringLiteral("before  after"));
    limits = {};
    limits.maxPicturePixels = 63;
    QCOMPARE(readPicture(prefix + "{\\pict\\pngblip " + png + "} after}", limits).text,
             QStringLiteral("before  after"));
    // The budget for all pictures together is shared by them.
    limits = {};
    limits.maxTotalPicturePixels = 100;
    const QByteArray two = "{\\pict\\pngblip " + png + "}{\\pict\\pngblip " + png + "}";
    QCOMPARE(readPicture(prefix + two + " after}", limits).text,
             QStringLiteral("before \ufffc after"));
    // An absurd goal size is shown no bigger than the bound on a side.
    const Found huge = readPicture(
        prefix + "{\\pict\\pngblip\\picwgoal2000000000\\pichgoal1000000000 " + png + "}}");
    QVERIFY(huge.size.width() <= platform::RichTextLimits().maxPictureSide);
    QCOMPARE(huge.size.width(), 2 * huge.size.height());
}

QTEST_MAIN(TestRtfPictures)
#include "tst_rtfpictures.moc"
