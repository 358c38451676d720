#include "platform/richtext/rtftokenizer.h"

#include <algorithm>
#include <climits>

namespace platform {

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}


} // namespace

RtfToken RtfTokenizer::next()
{
    RtfToken token;
    const qsizetype size = m_bytes.size();
    if (m_pendingBinary >= 0) {
        const qsizetype length = qsizetype(std::min<std::int64_t>(m_pendingBinary, size - m_pos));
        m_pendingBinary = -1;
        token.kind = RtfToken::Kind::Binary;
        token.data = m_bytes.sliced(m_pos, length);
        m_pos += length;
        return token;
    }
    while (m_pos < size) {
        const char c = m_bytes[m_pos];
        switch (c) {
        case '{':
            ++m_pos;
            token.kind = RtfToken::Kind::GroupOpen;
            return token;
        case '}':
            ++m_pos;
            token.kind = RtfToken::Kind::GroupClose;
            return token;
        case '\\':
            if (readControl(token))
                return token;
            continue;
        case '\r':
        case '\n':
            ++m_pos;
            continue;
        default: {
            const qsizetype start = m_pos;
            while (m_pos < size) {
                const char d = m_bytes[m_pos];
                if (d == '{' || d == '}' || d == '\\' || d == '\r' || d == '\n')
                    break;
                ++m_pos;
            }
            token.kind = RtfToken::Kind::Text;
            token.data = m_bytes.sliced(start, m_pos - start);
            return token;
        }
        }
    }
    return token;
}

bool RtfTokenizer::readControl(RtfToken &token)
{
    const qsizetype size = m_bytes.size();
    ++m_pos; // the backslash
    if (m_pos >= size)
        return false;
    const char c = m_bytes[m_pos];
    if (!isLetter(c)) {
        ++m_pos;
        if (c == '\'') {
            const int high = m_pos < size ? rtfHexValue(m_bytes[m_pos]) : -1;
            const int low = m_pos + 1 < size ? rtfHexValue(m_bytes[m_pos + 1]) : -1;
            if (high >= 0 && low >= 0) {
                m_pos += 2;
                token.kind = RtfToken::Kind::HexByte;
                token.byte = static_cast<unsigned char>(high * 16 + low);
                return true;
            }
            // A broken \' escape stands for nothing.
            return false;
        }
        token.kind = RtfToken::Kind::ControlSymbol;
        token.symbol = c;
        return true;
    }
    const qsizetype start = m_pos;
    while (m_pos < size && isLetter(m_bytes[m_pos]))
        ++m_pos;
    token.kind = RtfToken::Kind::ControlWord;
    token.word = m_bytes.sliced(start, m_pos - start);
    if (m_pos < size && (m_bytes[m_pos] == '-' || isDigit(m_bytes[m_pos]))) {
        const bool negative = m_bytes[m_pos] == '-';
        if (negative)
            ++m_pos;
        std::int64_t value = 0;
        bool anyDigit = false;
        while (m_pos < size && isDigit(m_bytes[m_pos])) {
            anyDigit = true;
            if (value <= INT_MAX)
                value = value * 10 + (m_bytes[m_pos] - '0');
            ++m_pos;
        }
        if (anyDigit) {
            if (negative)
                value = -value;
            token.hasParameter = true;
            token.parameter = int(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
        }
    }
    if (m_pos < size && m_bytes[m_pos] == ' ')
        ++m_pos;
    if (token.word == "bin" && token.hasParameter && token.parameter > 0)
        m_pendingBinary = token.parameter;
    return true;
}

int rtfHexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace platform
