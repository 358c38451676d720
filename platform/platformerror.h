#pragma once

#include <QString>

#include <exception>

namespace platform {

/** An operation of the platform layer failed; the text is what the user is shown. */
class PlatformError : public std::exception
{
public:
    explicit PlatformError(QString text);

    const QString &text() const noexcept { return m_text; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};

} // namespace platform
