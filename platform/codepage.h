#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

namespace platform {

/**
 * The ANSI code page that 8-bit text from Windows is written in (Windows-1251 by default),
 * converted to and from Unicode through ICU.
 */
class CodePage
{
public:
    /** `name` is an ICU name such as "windows-1251"; an unknown name throws PlatformError. */
    explicit CodePage(const QByteArray &name = QByteArrayLiteral("windows-1251"));
    CodePage(const CodePage &other);
    CodePage &operator=(const CodePage &other);

    /** The program's ANSI code page: Windows-1251, or the ICU name in `KARVEL_ANSI_CODEPAGE`. */
    static CodePage ansi();

    QByteArray name() const { return m_name; }

    /** Every byte has a character in the Windows code pages ICU knows, so this loses nothing. */
    QString decode(QByteArrayView bytes) const;

    /** The bytes of `text`, or nothing when a character of it has no byte in this code page. */
    std::optional<QByteArray> encode(QStringView text) const;

    /** True when `bytes` is well-formed UTF-8 (plain ASCII is). */
    static bool isValidUtf8(QByteArrayView bytes);

private:
    QByteArray m_name;
    mutable QStringDecoder m_decoder;
    mutable QStringEncoder m_encoder;
};

} // namespace platform
