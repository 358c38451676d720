#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <initializer_list>

/** Little-endian helpers and small builders of our own WMF, EMF and DIB data for tests. */
namespace metafiletest {

inline void put16(QByteArray &out, int value)
{
    out.append(char(value & 0xff));
    out.append(char((value >> 8) & 0xff));
}

inline void put32(QByteArray &out, qint64 value)
{
    put16(out, int(value & 0xffff));
    put16(out, int((value >> 16) & 0xffff));
}

inline quint32 colorRef(QColor c)
{
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}

/** A packed DIB (BITMAPINFOHEADER + bits), 24 bits a pixel, bottom-up as Windows writes it. */
inline QByteArray dib24(const QImage &image)
{
    QByteArray out;
    put32(out, 40);
    put32(out, image.width());
    put32(out, image.height());
    put16(out, 1);
    put16(out, 24);
    for (int i = 0; i < 6; ++i)
        put32(out, 0);
    const int rowBytes = (image.width() * 3 + 3) & ~3;
    for (int y = image.height() - 1; y >= 0; --y) {
        QByteArray row;
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            row.append(char(c.blue()));
            row.append(char(c.green()));
            row.append(char(c.red()));
        }
        row.append(rowBytes - row.size(), '\0');
        out.append(row);
    }
    return out;
}

/** WMF records, given as 16-bit words, with the header (and placeable header) added at the end. */
class WmfBuilder
{
public:
    void record(int function, std::initializer_list<int> words)
    {
        put32(m_records, 3 + qint64(words.size()));
        put16(m_records, function);
        for (int w : words)
            put16(m_records, w);
        m_maxRecord = std::max<qint64>(m_maxRecord, 3 + qint64(words.size()));
    }
    /** A record whose parameters are raw bytes (padded to whole words). */
    void recordBytes(int function, QByteArray params)
    {
        if (params.size() % 2)
            params.append('\0');
        put32(m_records, 3 + params.size() / 2);
        put16(m_records, function);
        m_records.append(params);
    }
    void createBrush(QColor color, int style = 0, int hatch = 0)
    {
        const quint32 c = colorRef(color);
        record(0x02fc, {style, int(c & 0xffff), int(c >> 16), hatch});
    }
    void createPen(QColor color, int style = 0, int width = 0)
    {
        const quint32 c = colorRef(color);
        record(0x02fa, {style, width, 0, int(c & 0xffff), int(c >> 16)});
    }
    void select(int slot) { record(0x012d, {slot}); }
    void rectangle(int left, int top, int right, int bottom)
    {
        record(0x041b, {bottom, right, top, left});
    }
    void ellipse(int left, int top, int right, int bottom)
    {
        record(0x0418, {bottom, right, top, left});
    }
    void window(int x, int y, int width, int height)
    {
        record(0x020b, {y, x});
        record(0x020c, {height, width});
    }

    QByteArray build(bool placeable = false, QRect box = {}, int inch = 96, int objects = 8) const
    {
        QByteArray body = m_records;
        put32(body, 3);
        put16(body, 0);
        QByteArray out;
        if (placeable) {
            QByteArray header;
            put32(header, 0x9ac6cdd7);
            put16(header, 0);
            put16(header, box.left());
            put16(header, box.top());
            put16(header, box.left() + box.width());
            put16(header, box.top() + box.height());
            put16(header, inch);
            put32(header, 0);
            quint16 sum = 0;
            for (int i = 0; i < header.size(); i += 2)
                sum ^= quint16(quint8(header[i]) | (quint8(header[i + 1]) << 8));
            put16(header, sum);
            out.append(header);
        }
        put16(out, 1);
        put16(out, 9);
        put16(out, 0x0300);
        put32(out, 9 + body.size() / 2);
        put16(out, objects);
        put32(out, m_maxRecord);
        put16(out, 0);
        out.append(body);
        return out;
    }

private:
    QByteArray m_records;
    qint64 m_maxRecord = 3;
};

/** EMF records; the header is made by build() from the picture's size in pixels. */
class EmfBuilder
{
public:
    void record(quint32 type, const QByteArray &params)
    {
        put32(m_records, type);
        put32(m_records, 8 + params.size());
        m_records.append(params);
        ++m_count;
    }
    static QByteArray ints(std::initializer_list<qint64> values)
    {
        QByteArray out;
        for (qint64 v : values)
            put32(out, v);
        return out;
    }
    void createBrush(quint32 index, QColor color, int style = 0)
    {
        record(39, ints({index, style, colorRef(color), 0}));
    }
    void createPen(quint32 index, QColor color, int width = 1, int style = 0)
    {
        record(38, ints({index, style, width, 0, colorRef(color)}));
    }
    void select(quint32 index) { record(37, ints({index})); }
    void rectangle(int left, int top, int right, int bottom)
    {
        record(43, ints({left, top, right, bottom}));
    }

    /** A picture of `width` x `height` reference pixels on a 96 pixels-per-inch device. */
    QByteArray build(int width, int height) const
    {
        QByteArray records = m_records;
        put32(records, 14); // EOF
        put32(records, 20);
        put32(records, 0);
        put32(records, 0);
        put32(records, 20);
        QByteArray header;
        put32(header, 1);
        put32(header, 88);
        for (int v : {0, 0, width - 1, height - 1})
            put32(header, v);
        for (qint64 v :
             {qint64(0), qint64(0), qint64(width * 2540 / 96), qint64(height * 2540 / 96)})
            put32(header, v);
        put32(header, 0x464d4520);
        put32(header, 0x10000);
        put32(header, 88 + records.size());
        put32(header, m_count + 2);
        put16(header, 8);
        put16(header, 0);
        put32(header, 0);
        put32(header, 0);
        put32(header, 0);
        put32(header, 960); // device size in pixels: 960 x 960 ...
        put32(header, 960);
        put32(header, 254); // ... over 254 mm, that is 96 pixels an inch
        put32(header, 254);
        return header + records;
    }

private:
    QByteArray m_records;
    int m_count = 0;
};

} // namespace metafiletest
