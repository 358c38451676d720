#include "platform/richtext/rtfparser.h"

#include "platform/codepage.h"
#include "platform/richtext/wincharset.h"

#include <QTextDocument>
#include <algorithm>

namespace platform {

namespace {

constexpr double twipsPerPixel = 15.0; // at 96 pixels per inch
constexpr int maxFontNameBytes = 256;

/** Keeps out the characters QTextDocument gives a meaning of its own. */
void sanitize(QString &text)
{
    qsizetype out = 0;
    QChar *data = text.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t c = data[i].unicode();
        if (c < 0x20 && c != '\t')
            continue;
        if (c == 0x2029)
            c = 0x2028;
        else if (c == 0xfdd0 || c == 0xfdd1 || c == 0xfffc || QChar::isSurrogate(c))
            c = 0xfffd;
        data[out++] = QChar(c);
    }
    text.truncate(out);
}

} // namespace

RtfParser::RtfParser(QTextDocument &document, const RichTextLimits &limits)
    : m_limits(limits), m_writer(document, limits), m_ansiCodePage(CodePage::ansi().name()),
      m_pixelBudget(limits.maxTotalPicturePixels)
{
    m_groups.emplace_back();
}

bool RtfParser::run(QByteArrayView bytes)
{
    RtfTokenizer tokenizer(bytes);
    bool ignorable = false;
    bool complete = true;
    bool ended = false;
    while (!ended) {
        RtfToken token = tokenizer.next();
        using Kind = RtfToken::Kind;
        if (token.kind == Kind::End)
            break;
        if (token.kind == Kind::GroupOpen || token.kind == Kind::GroupClose) {
            m_unicodeSkipLeft = 0;
        } else if (m_unicodeSkipLeft > 0 && token.kind != Kind::Binary) {
            // The characters after \uN stand in for it in readers without Unicode.
            if (token.kind != Kind::Text) {
                --m_unicodeSkipLeft;
                continue;
            }
            const qsizetype n = std::min<qsizetype>(m_unicodeSkipLeft, token.data.size());
            m_unicodeSkipLeft -= int(n);
            token.data = token.data.sliced(n);
            if (token.data.isEmpty())
                continue;
        }
        if (token.kind != Kind::Text && token.kind != Kind::HexByte)
            flushBytes();
        const bool wasIgnorable = ignorable;
        ignorable = false;
        switch (token.kind) {
        case Kind::GroupOpen:
            if (!openGroup()) {
                complete = false;
                ended = true;
            }
            break;
        case Kind::GroupClose:
            ended = closeGroup();
            break;
        case Kind::ControlWord:
            controlWord(token, wasIgnorable);
            break;
        case Kind::ControlSymbol:
            if (token.symbol == '*')
                ignorable = true;
            else
                controlSymbol(token.symbol);
            break;
        case Kind::HexByte:
            hexByte(token.byte);
            break;
        case Kind::Text:
            text(token.data);
            break;
        case Kind::Binary:
            if (top().destination == Destination::Picture)
                m_picture.addBinary(token.data, m_limits.maxPictureBytes);
            break;
        case Kind::End:
            break;
        }
        if (m_writer.full()) {
            complete = false;
            ended = true;
        }
    }
    flushBytes();
    m_writer.finish(blockFormat(m_groups.size() > 1 ? top().paragraph : m_lastParagraph));
    return complete;
}

bool RtfParser::openGroup()
{
    if (int(m_groups.size()) > m_limits.maxGroupDepth)
        return false;
    Group group = top();
    if (group.destination == Destination::Upr) {
        group.destination = Destination::Skip;
        group.uprChild = true;
    } else {
        group.uprChild = false;
    }
    m_groups.push_back(group);
    return true;
}

bool RtfParser::closeGroup()
{
    if (m_groups.size() <= 1)
        return false; // a stray closing brace before the document
    const Destination destination = top().destination;
    if (m_groups.size() == 2)
        m_lastParagraph = top().paragraph;
    if (destination == Destination::FontTable && m_fontOpen)
        finishFont();
    if (destination == Destination::Picture && m_groups.size() == m_pictureDepth) {
        m_groups.pop_back();
        finishPicture();
    } else {
        m_groups.pop_back();
    }
    // The document ends with the group it opened with.
    return m_groups.size() == 1;
}

void RtfParser::controlSymbol(char symbol)
{
    if (top().destination != Destination::Normal) {
        if (top().destination == Destination::FontTable && m_fontOpen &&
            (symbol == '\\' || symbol == '{' || symbol == '}'))
            m_fontName.append(symbol);
        return;
    }
    switch (symbol) {
    case '\\':
    case '{':
    case '}': {
        const char c = symbol;
        text(QByteArrayView(&c, 1));
        flushBytes();
        break;
    }
    case '~':
        emitChar(0x00a0);
        break;
    case '-':
        emitChar(0x00ad);
        break;
    case '_':
        emitChar(0x2011);
        break;
    case '\t':
        emitChar('\t');
        break;
    case '\r':
    case '\n':
        endParagraph();
        break;
    default:
        break;
    }
}

void RtfParser::text(QByteArrayView bytes)
{
    switch (top().destination) {
    case Destination::Normal:
        m_bytes.append(bytes);
        break;
    case Destination::FontTable:
        for (const char c : bytes) {
            if (c == ';') {
                if (m_fontOpen)
                    finishFont();
            } else if (m_fontOpen && m_fontName.size() < maxFontNameBytes) {
                m_fontName.append(c);
            }
        }
        break;
    case Destination::ColorTable:
        for (const char c : bytes)
            if (c == ';')
                finishColor();
        break;
    case Destination::Picture:
        m_picture.addHex(bytes, m_limits.maxPictureBytes);
        break;
    case Destination::Skip:
    case Destination::Upr:
        break;
    }
}

void RtfParser::hexByte(unsigned char byte)
{
    const char c = char(byte);
    if (top().destination == Destination::FontTable) {
        if (m_fontOpen && m_fontName.size() < maxFontNameBytes)
            m_fontName.append(c);
        return;
    }
    if (top().destination == Destination::Normal)
        m_bytes.append(c);
}

const RtfParser::Font *RtfParser::currentFont() const
{
    const int index = m_groups.back().character.font;
    const auto found = m_fonts.constFind(index >= 0 ? index : m_defaultFont);
    return found == m_fonts.constEnd() ? nullptr : &found.value();
}

QByteArray RtfParser::codePageOf(const Font *font) const
{
    if (!font)
        return m_ansiCodePage;
    if (font->codePage > 0)
        if (const QByteArray name = WinCharset::codePageName(font->codePage); !name.isEmpty())
            return name;
    return WinCharset::codePageName(font->charset, m_ansiCodePage);
}

void RtfParser::flushBytes()
{
    if (m_bytes.isEmpty())
        return;
    m_scratch.clear();
    const Font *font = currentFont();
    if (font && font->charset == WinCharset::symbol) {
        m_scratch.reserve(m_bytes.size());
        for (const char c : std::as_const(m_bytes))
            m_scratch.append(WinCharset::symbolChar(static_cast<unsigned char>(c), font->name));
    } else {
        m_decoder.decode(m_bytes, codePageOf(font), m_scratch);
    }
    m_bytes.clear();
    emitText(m_scratch);
}

void RtfParser::emitText(QString &text, bool wellFormed)
{
    if (m_highSurrogate) {
        m_highSurrogate = 0;
        text.prepend(QChar(0xfffd));
    }
    if (!wellFormed)
        sanitize(text);
    if (text.isEmpty() || top().character.hidden)
        return;
    if (m_pendingCells > 0) {
        text.prepend(QString(m_pendingCells, QChar('\t')));
        m_pendingCells = 0;
    }
    applyFormats();
    m_writer.appendText(text);
}

void RtfParser::applyFormats()
{
    const RtfCharState &character = top().character;
    if (!m_formatApplied || !(m_applied == character)) {
        m_applied = character;
        m_formatApplied = true;
        const auto cached =
            std::find_if(m_formatCache.begin(), m_formatCache.end(),
                         [&](const auto &entry) { return entry.first == character; });
        if (cached != m_formatCache.end()) {
            m_writer.setCharFormat(cached->second);
        } else {
            if (m_formatCache.size() >= 64)
                m_formatCache.clear();
            m_formatCache.emplace_back(character, charFormat(character));
            m_writer.setCharFormat(m_formatCache.back().second);
        }
    }
    const RtfParaState &paragraph = top().paragraph;
    if (!m_paragraphApplied || !(m_appliedParagraph == paragraph) ||
        m_appliedPageBreak != m_pageBreakPending) {
        m_appliedParagraph = paragraph;
        m_appliedPageBreak = m_pageBreakPending;
        m_paragraphApplied = true;
        m_writer.setNextParagraphFormat(cachedBlockFormat(paragraph));
    }
}

void RtfParser::emitChar(char16_t c)
{
    m_scratch = QString(QChar(c));
    emitText(m_scratch);
}

void RtfParser::emitCodePoint(int codePoint)
{
    if (codePoint < 0 || codePoint > 0x10ffff)
        return;
    if (QChar::isHighSurrogate(char32_t(codePoint))) {
        if (m_highSurrogate)
            emitChar(0xfffd);
        m_highSurrogate = char16_t(codePoint);
        return;
    }
    if (QChar::isLowSurrogate(char32_t(codePoint)) && m_highSurrogate) {
        const char32_t full = QChar::surrogateToUcs4(m_highSurrogate, char16_t(codePoint));
        m_highSurrogate = 0;
        m_scratch = QString::fromUcs4(&full, 1);
        emitText(m_scratch, true);
        return;
    }
    m_scratch = QString::fromUcs4(reinterpret_cast<const char32_t *>(&codePoint), 1);
    emitText(m_scratch);
}

void RtfParser::endParagraph()
{
    m_pendingCells = 0;
    if (m_highSurrogate) {
        m_highSurrogate = 0;
        emitChar(0xfffd);
    }
    if (top().character.hidden)
        return;
    m_writer.endParagraph(cachedBlockFormat(top().paragraph));
    m_pageBreakPending = false;
}

void RtfParser::finishFont()
{
    m_fontOpen = false;
    if (m_fonts.size() >= m_limits.maxTableEntries && !m_fonts.contains(m_fontIndex))
        return;
    QString name;
    if (m_font.charset == WinCharset::symbol)
        name = QString::fromLatin1(m_fontName);
    else
        m_decoder.decode(m_fontName, codePageOf(&m_font), name);
    sanitize(name);
    name = name.trimmed();
    // Windows maps these names of old script-specific fonts onto the font itself.
    for (const char *suffix : {" CYR", " Cyr", " CE", " Greek", " Tur", " TUR", " Baltic"})
        if (name.endsWith(QLatin1String(suffix)) && name.size() > int(qstrlen(suffix))) {
            name.chop(qstrlen(suffix));
            break;
        }
    m_font.name = name;
    m_fonts.insert(m_fontIndex, m_font);
    m_formatCache.clear();
    m_formatApplied = false;
}

void RtfParser::finishColor()
{
    if (m_colors.size() < m_limits.maxTableEntries) {
        m_colors.append(m_colorGiven ? QColor(m_red, m_green, m_blue) : QColor());
        m_formatCache.clear();
        m_formatApplied = false;
    }
    m_red = m_green = m_blue = 0;
    m_colorGiven = false;
}

void RtfParser::finishPicture()
{
    m_pictureDepth = 0;
    const RtfPictureImage picture = decodeRtfPicture(m_picture, m_limits, m_pixelBudget);
    m_picture = RtfPicture();
    if (picture.image.isNull() || top().destination != Destination::Normal ||
        top().character.hidden)
        return;
    m_pixelBudget -= qint64(picture.image.width()) * picture.image.height();
    // The image takes the character format around it, like any character.
    applyFormats();
    m_writer.appendImage(picture.image, picture.displaySize);
}

QTextCharFormat RtfParser::charFormat(const RtfCharState &state) const
{
    QTextCharFormat format;
    const int index = state.font >= 0 ? state.font : m_defaultFont;
    if (const auto found = m_fonts.constFind(index);
        found != m_fonts.constEnd() && !found->name.isEmpty())
        format.setFontFamilies({found->name});
    format.setFontPointSize(state.halfPoints / 2.0);
    format.setFontWeight(state.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(state.italic);
    format.setFontUnderline(state.underline);
    format.setFontStrikeOut(state.strike);
    if (state.caps)
        format.setFontCapitalization(QFont::AllUppercase);
    else if (state.smallCaps)
        format.setFontCapitalization(QFont::SmallCaps);
    if (state.vertical > 0)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (state.vertical < 0)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (state.color > 0 && state.color < m_colors.size() && m_colors[state.color].isValid())
        format.setForeground(m_colors[state.color]);
    if (state.background > 0 && state.background < m_colors.size() &&
        m_colors[state.background].isValid())
        format.setBackground(m_colors[state.background]);
    return format;
}

QTextBlockFormat RtfParser::cachedBlockFormat(const RtfParaState &state)
{
    // The same object for the same properties: the writer then compares formats cheaply.
    for (const BlockFormatEntry &entry : m_blockFormatCache)
        if (entry.state == state && entry.pageBreak == m_pageBreakPending)
            return entry.format;
    if (m_blockFormatCache.size() >= 64)
        m_blockFormatCache.clear();
    m_blockFormatCache.push_back({state, m_pageBreakPending, blockFormat(state)});
    return m_blockFormatCache.back().format;
}

QTextBlockFormat RtfParser::blockFormat(const RtfParaState &state) const
{
    QTextBlockFormat format;
    format.setAlignment(state.alignment);
    if (state.leftIndent)
        format.setLeftMargin(state.leftIndent / twipsPerPixel);
    if (state.rightIndent)
        format.setRightMargin(state.rightIndent / twipsPerPixel);
    if (state.firstIndent)
        format.setTextIndent(state.firstIndent / twipsPerPixel);
    if (state.spaceBefore)
        format.setTopMargin(state.spaceBefore / twipsPerPixel);
    if (state.spaceAfter)
        format.setBottomMargin(state.spaceAfter / twipsPerPixel);
    if (state.lineSpacing > 0 && state.lineMultiple)
        format.setLineHeight(std::clamp(state.lineSpacing * 100.0 / 240.0, 10.0, 1000.0),
                             QTextBlockFormat::ProportionalHeight);
    else if (state.lineSpacing > 0)
        format.setLineHeight(state.lineSpacing / twipsPerPixel, QTextBlockFormat::MinimumHeight);
    else if (state.lineSpacing < 0)
        format.setLineHeight(-state.lineSpacing / twipsPerPixel, QTextBlockFormat::FixedHeight);
    if (!state.tabs.empty()) {
        QList<QTextOption::Tab> tabs;
        for (const RtfTabStop &stop : state.tabs) {
            QTextOption::Tab tab;
            tab.position = stop.position / twipsPerPixel;
            switch (stop.kind) {
            case RtfTabStop::Kind::Right:
                tab.type = QTextOption::RightTab;
                break;
            case RtfTabStop::Kind::Center:
                tab.type = QTextOption::CenterTab;
                break;
            case RtfTabStop::Kind::Decimal:
                tab.type = QTextOption::DelimiterTab;
                tab.delimiter = QLatin1Char(','); // the decimal sign of Russian Windows
                break;
            case RtfTabStop::Kind::Left:
                break;
            }
            tabs.append(tab);
        }
        format.setTabPositions(tabs);
    }
    if (m_pageBreakPending)
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    return format;
}

} // namespace platform
