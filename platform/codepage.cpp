#include "platform/codepage.h"

#include "platform/platformerror.h"

namespace platform {

CodePage::CodePage(const QByteArray &name)
    : m_name(name), m_decoder(name.constData(), QStringConverter::Flag::Stateless),
      m_encoder(name.constData(), QStringConverter::Flag::Stateless)
{
    if (!m_decoder.isValid() || !m_encoder.isValid())
        throw PlatformError(QStringLiteral("Unknown code page %1").arg(QString::fromLatin1(name)));
}

CodePage::CodePage(const CodePage &other) : CodePage(other.m_name) {}

CodePage &CodePage::operator=(const CodePage &other)
{
    if (this != &other) {
        m_name = other.m_name;
        m_decoder = QStringDecoder(m_name.constData(), QStringConverter::Flag::Stateless);
        m_encoder = QStringEncoder(m_name.constData(), QStringConverter::Flag::Stateless);
    }
    return *this;
}

CodePage CodePage::ansi()
{
    const QByteArray name = qgetenv("KARVEL_ANSI_CODEPAGE");
    return CodePage(name.isEmpty() ? QByteArrayLiteral("windows-1251") : name);
}

QString CodePage::decode(QByteArrayView bytes) const
{
    if (bytes.isEmpty())
        return {};
    m_decoder.resetState();
    return m_decoder.decode(bytes);
}

std::optional<QByteArray> CodePage::encode(QStringView text) const
{
    if (text.isEmpty())
        return QByteArray();
    m_encoder.resetState();
    QByteArray bytes = m_encoder.encode(text);
    if (m_encoder.hasError())
        return std::nullopt;
    return bytes;
}

bool CodePage::isValidUtf8(QByteArrayView bytes)
{
    // A hand-written check: the decoder would also accept surrogates and overlong forms.
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int length;
        unsigned minimum;
        unsigned code;
        if ((c & 0xE0) == 0xC0) {
            length = 2, minimum = 0x80, code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3, minimum = 0x800, code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4, minimum = 0x10000, code = c & 0x07;
        } else {
            return false;
        }
        if (i + length > n)
            return false;
        for (int k = 1; k < length; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i + k] & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

} // namespace platform
