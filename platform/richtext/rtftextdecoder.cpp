#include "platform/richtext/rtftextdecoder.h"

namespace platform {

namespace {

bool isMultiByte(const QByteArray &codePage)
{
    static const char *const names[] = {"Shift_JIS",   "GBK",      "Big5",
                                        "windows-949", "ibm-1361", "UTF-8"};
    for (const char *name : names)
        if (codePage == name)
            return true;
    return false;
}

} // namespace

const RtfTextDecoder::Table &RtfTextDecoder::table(const QByteArray &codePage)
{
    auto found = m_tables.find(codePage);
    if (found != m_tables.end())
        return found->second;
    Table table;
    auto decoder =
        std::make_unique<QStringDecoder>(codePage.constData(), QStringConverter::Flag::Stateless);
    if (!decoder->isValid()) {
        table.singleByte = true;
        for (int i = 0; i < 256; ++i)
            table.chars[i] = char16_t(i);
    } else if (isMultiByte(codePage)) {
        table.decoder = std::move(decoder);
    } else {
        table.singleByte = true;
        for (int i = 0; i < 256; ++i) {
            const char byte = char(i);
            const QString text = decoder->decode(QByteArrayView(&byte, 1));
            table.chars[i] = text.size() == 1 ? text[0].unicode() : char16_t(0xfffd);
        }
    }
    return m_tables.emplace(codePage, std::move(table)).first->second;
}

void RtfTextDecoder::decode(QByteArrayView bytes, const QByteArray &codePage, QString &out)
{
    const Table &t = table(codePage);
    if (t.singleByte) {
        const qsizetype start = out.size();
        out.resize(start + bytes.size());
        QChar *dst = out.data() + start;
        for (qsizetype i = 0; i < bytes.size(); ++i)
            dst[i] = QChar(t.chars[static_cast<unsigned char>(bytes[i])]);
        return;
    }
    t.decoder->resetState();
    out += t.decoder->decode(bytes);
}

} // namespace platform
