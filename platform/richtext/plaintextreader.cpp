#include "platform/richtext/plaintextreader.h"

#include "platform/codepage.h"

#include <QTextCursor>
#include <QTextDocument>

namespace platform {

bool PlainTextReader::read(QByteArrayView bytes, QTextDocument &document) const
{
    QString text;
    if (CodePage::isValidUtf8(bytes)) {
        if (bytes.startsWith("\xef\xbb\xbf"))
            bytes = bytes.sliced(3);
        text = QString::fromUtf8(bytes);
    } else {
        text = CodePage::ansi().decode(bytes);
    }

    // One pass: line ends become '\n', control characters QTextDocument would act on go.
    bool complete = true;
    qsizetype out = 0;
    int lines = 1;
    QChar *data = text.data();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        char16_t c = data[i].unicode();
        if (c == '\r' || c == '\n' || c == 0x2029) {
            if (c == '\r' && i + 1 < size && data[i + 1] == QLatin1Char('\n'))
                ++i;
            if (++lines > m_limits.maxParagraphs) {
                complete = false;
                break;
            }
            c = '\n';
        } else if (c < 0x20 && c != '\t') {
            continue;
        } else if (c == 0xfdd0 || c == 0xfdd1 || c == 0xfffc) {
            c = 0xfffd;
        }
        if (out >= m_limits.maxTextLength) {
            complete = false;
            break;
        }
        data[out++] = QChar(c);
    }
    text.truncate(out);

    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    return complete;
}

} // namespace platform
