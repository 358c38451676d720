#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <array>
#include <map>
#include <memory>

namespace platform {

/**
 * Turns 8-bit text into Unicode by code page name, fast: single-byte code pages through a
 * table of 256 characters made once, the multi-byte ones through ICU.
 */
class RtfTextDecoder
{
public:
    /** Appends the characters of `bytes` in `codePage` to `out`; an unknown name reads as Latin-1.
     */
    void decode(QByteArrayView bytes, const QByteArray &codePage, QString &out);

private:
    struct Table
    {
        bool singleByte = false;
        std::array<char16_t, 256> chars{};
        std::unique_ptr<QStringDecoder> decoder;
    };

    const Table &table(const QByteArray &codePage);

    std::map<QByteArray, Table> m_tables;
};

} // namespace platform
