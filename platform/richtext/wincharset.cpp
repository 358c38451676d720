#include "platform/richtext/wincharset.h"

namespace platform {

QByteArray WinCharset::codePageName(int charset, const QByteArray &ansiCodePage)
{
    switch (charset) {
    case 77:
        return QByteArrayLiteral("macintosh");
    case 128:
        return QByteArrayLiteral("Shift_JIS");
    case 129:
        return QByteArrayLiteral("windows-949");
    case 130:
        return QByteArrayLiteral("ibm-1361");
    case 134:
        return QByteArrayLiteral("GBK");
    case 136:
        return QByteArrayLiteral("Big5");
    case 161:
        return QByteArrayLiteral("windows-1253");
    case 162:
        return QByteArrayLiteral("windows-1254");
    case 163:
        return QByteArrayLiteral("windows-1258");
    case 177:
        return QByteArrayLiteral("windows-1255");
    case 178:
        return QByteArrayLiteral("windows-1256");
    case 186:
        return QByteArrayLiteral("windows-1257");
    case 204:
        return QByteArrayLiteral("windows-1251");
    case 222:
        return QByteArrayLiteral("windows-874");
    case 238:
        return QByteArrayLiteral("windows-1250");
    case 255:
        // The OEM set of a Russian system.
        return QByteArrayLiteral("IBM866");
    default:
        return ansiCodePage;
    }
}

QByteArray WinCharset::codePageName(int codePage)
{
    switch (codePage) {
    case 437:
        return QByteArrayLiteral("IBM437");
    case 850:
        return QByteArrayLiteral("IBM850");
    case 866:
        return QByteArrayLiteral("IBM866");
    case 874:
        return QByteArrayLiteral("windows-874");
    case 932:
        return QByteArrayLiteral("Shift_JIS");
    case 936:
        return QByteArrayLiteral("GBK");
    case 949:
        return QByteArrayLiteral("windows-949");
    case 950:
        return QByteArrayLiteral("Big5");
    case 10000:
        return QByteArrayLiteral("macintosh");
    case 20866:
        return QByteArrayLiteral("KOI8-R");
    case 65001:
        return QByteArrayLiteral("UTF-8");
    default:
        if (codePage >= 1250 && codePage <= 1258)
            return "windows-" + QByteArray::number(codePage);
        return {};
    }
}

QChar WinCharset::symbolChar(unsigned char byte, const QString &fontName)
{
    if (fontName.startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive)) {
        switch (byte) {
        case 0x6c:
            return QChar(0x25cf); // black circle
        case 0x6e:
            return QChar(0x25a0); // black square
        case 0x71:
            return QChar(0x2751); // shadowed square
        case 0x76:
            return QChar(0x2756); // diamond
        case 0xa7:
            return QChar(0x25aa); // small square
        case 0xd8:
            return QChar(0x27a2); // arrowhead
        case 0xfc:
            return QChar(0x2713); // check mark
        default:
            return QChar(0x2022);
        }
    }
    // The Symbol font: Greek letters where Latin ones sit, and a few signs.
    static const char16_t greekUpper[26] = {0x0391, 0x0392, 0x03a7, 0x0394, 0x0395, 0x03a6, 0x0393,
                                            0x0397, 0x0399, 0x03d1, 0x039a, 0x039b, 0x039c, 0x039d,
                                            0x039f, 0x03a0, 0x0398, 0x03a1, 0x03a3, 0x03a4, 0x03a5,
                                            0x03c2, 0x03a9, 0x039e, 0x03a8, 0x0396};
    if (byte >= 'A' && byte <= 'Z')
        return QChar(greekUpper[byte - 'A']);
    if (byte >= 'a' && byte <= 'z')
        return QChar(greekUpper[byte - 'a']).toLower();
    switch (byte) {
    case 0xb7:
        return QChar(0x2022); // bullet
    case 0xa8:
        return QChar(0x2663);
    case 0xa9:
        return QChar(0x2666);
    case 0xaa:
        return QChar(0x2665);
    case 0xab:
        return QChar(0x2660);
    case 0xae:
        return QChar(0x2192);
    case 0xb0:
        return QChar(0x00b0);
    case 0xb1:
        return QChar(0x00b1);
    case 0xb4:
        return QChar(0x00d7);
    case 0xd7:
        return QChar(0x22c5);
    case 0xe0:
        return QChar(0x25ca);
    default:
        return QChar(byte);
    }
}

} // namespace platform
