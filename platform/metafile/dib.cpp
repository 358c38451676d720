#include "platform/metafile/dib.h"

#include "platform/metafile/bytes.h"

#include <QBuffer>
#include <QImageReader>
#include <cstdlib>

namespace platform {

namespace {

constexpr int maxSide = 32768;

struct DibHeader
{
    qint64 width = 0;
    qint64 height = 0;
    int bitCount = 0;
    quint32 compression = 0;
    qsizetype infoSize = 0; // header, masks and palette
    bool valid = false;
};

enum Compression : quint32 { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, Jpeg = 4, Png = 5 };

DibHeader readHeader(LittleEndianView in)
{
    DibHeader h;
    const quint32 size = in.u32(0);
    qsizetype paletteEntry = 4;
    quint32 colorsUsed = 0;
    if (size == 12) {
        h.width = in.u16(4);
        h.height = in.u16(6);
        h.bitCount = in.u16(10);
        paletteEntry = 3;
    } else if (size >= 40 && size <= 1024) {
        h.width = in.i32(4);
        h.height = in.i32(8);
        h.bitCount = in.u16(14);
        h.compression = in.u32(16);
        colorsUsed = in.u32(32);
    } else {
        return h;
    }
    qsizetype masks = 0;
    if (size == 40 && (h.compression == BitFields || h.compression == 6))
        masks = h.compression == BitFields ? 12 : 16;
    qsizetype colors = 0;
    if (h.bitCount <= 8)
        colors = colorsUsed ? qsizetype(colorsUsed) : (qsizetype(1) << h.bitCount);
    else
        colors = colorsUsed;
    if (colors > 256 && h.bitCount <= 8)
        return h;
    if (colors > 65536)
        return h;
    h.infoSize = qsizetype(size) + masks + colors * paletteEntry;
    const bool depthOk = h.bitCount == 1 || h.bitCount == 4 || h.bitCount == 8 ||
                         h.bitCount == 16 || h.bitCount == 24 || h.bitCount == 32 ||
                         (h.bitCount == 0 && (h.compression == Jpeg || h.compression == Png));
    h.valid = depthOk && h.width > 0 && h.height != 0 && h.width <= maxSide &&
              std::abs(h.height) <= maxSide && h.compression <= 6;
    return h;
}

QImage readEmbedded(QByteArrayView bits, qint64 maxPixels)
{
    QBuffer buffer;
    buffer.setData(bits.toByteArray());
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > maxPixels)
        return {};
    return reader.read();
}

} // namespace

QImage decodeDib(QByteArrayView info, QByteArrayView bits, qint64 maxPixels)
{
    const DibHeader h = readHeader(LittleEndianView(info));
    if (!h.valid || h.width * std::abs(h.height) > maxPixels || info.size() < h.infoSize)
        return {};
    if (h.compression == Jpeg || h.compression == Png)
        return readEmbedded(bits, maxPixels);

    QByteArray bmp;
    const qsizetype rowBytes = ((h.width * h.bitCount + 31) / 32) * 4;
    qsizetype bitsSize = bits.size();
    if (h.compression == Rgb || h.compression == BitFields || h.compression == 6)
        bitsSize = rowBytes * std::abs(h.height);
    const qsizetype offset = 14 + h.infoSize;
    bmp.reserve(offset + bitsSize);
    bmp.append("BM");
    const quint32 fileSize = quint32(offset + bitsSize);
    const quint32 words[] = {fileSize, 0, quint32(offset)};
    for (const quint32 w : words)
        for (int i = 0; i < 4; ++i)
            bmp.append(char((w >> (8 * i)) & 0xff));
    bmp.append(info.first(h.infoSize));
    bmp.append(bits.first(std::min(bits.size(), bitsSize)));
    if (bmp.size() < offset + bitsSize)
        bmp.append(offset + bitsSize - bmp.size(), '\0');
    QImage image;
    image.loadFromData(bmp, "BMP");
    return image;
}

QImage decodeDib(QByteArrayView packed, qint64 maxPixels)
{
    const DibHeader h = readHeader(LittleEndianView(packed));
    if (!h.valid || packed.size() < h.infoSize)
        return {};
    return decodeDib(packed.first(h.infoSize), packed.sliced(h.infoSize), maxPixels);
}

} // namespace platform
