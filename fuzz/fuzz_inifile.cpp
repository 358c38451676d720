#include "platform/inidocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

/**
 * Any bytes, read as a kit or settings file; a key written into them must read back as written,
 * and the file's other keys must survive the write.
 */
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const platform::CodePage ansi;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    platform::IniDocument document = platform::IniDocument::fromBytes(bytes, ansi);
    const auto before = document.value(u"Section1", u"Button1");
    document.value(u"TemaArtist", u"Icon20");

    document.setValue(u"Section1", u"Vol7", QString::fromUtf8("75 Песня 日本"));
    const platform::IniDocument reread = platform::IniDocument::fromBytes(document.toBytes(), ansi);
    if (reread.value(u"Section1", u"Vol7") != QString::fromUtf8("75 Песня 日本"))
        std::abort();
    // Button1 and Vol7 differ, so the write must leave Button1 as it read.
    if (reread.value(u"Section1", u"Button1") != before)
        std::abort();
    return 0;
}
