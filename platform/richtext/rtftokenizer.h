#pragma once

#include <QByteArrayView>
#include <cstdint>

namespace platform {

/** One lexical unit of an RTF stream. */
struct RtfToken
{
    enum class Kind {
        End,
        GroupOpen,
        GroupClose,
        ControlWord,   // \word or \wordN; `word`, `hasParameter`, `parameter`
        ControlSymbol, // \x for a non-letter x; `symbol`
        HexByte,       // \'hh; `byte`
        Text,          // a run of literal bytes without CR or LF; `data`
        Binary,        // the bytes after \binN; `data`
    };

    Kind kind = Kind::End;
    QByteArrayView word;
    QByteArrayView data;
    int parameter = 0;
    bool hasParameter = false;
    char symbol = 0;
    unsigned char byte = 0;
};

/**
 * Splits RTF bytes into tokens in one pass. Numbers are clamped to the range of int (so an
 * overflowing `\fs99999999999` gives INT_MAX), a `\binN` longer than the rest of the input
 * takes what is left, and truncated input simply ends.
 */
class RtfTokenizer
{
public:
    explicit RtfTokenizer(QByteArrayView bytes) : m_bytes(bytes) {}

    RtfToken next();
    qsizetype position() const { return m_pos; }

private:
    bool readControl(RtfToken &token);

    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    std::int64_t m_pendingBinary = -1;
};

/** The value of a hexadecimal digit, or -1 for any other character. */
int rtfHexValue(char c);

} // namespace platform
