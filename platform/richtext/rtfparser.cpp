#include "platform/richtext/rtfparser.h"

#include "platform/codepage.h"
#include "platform/richtext/wincharset.h"

#include <QTextDocument>
#include <algorithm>

namespace platform {

namespace {

constexpr double twipsPerPixel = 15.0; // at 96 pixels per inch
constexpr int maxTwips = 31680;        // 22 inches, the widest page Word allows
constexpr int maxFontNameBytes = 256;

int twips(const RtfToken &token)
{
    return std::clamp(token.hasParameter ? token.parameter : 0, -maxTwips, maxTwips);
}

bool toggle(const RtfToken &token)
{
    return !token.hasParameter || token.parameter != 0;
}

bool isDestination(RtfKeyword keyword)
{
    switch (keyword) {
    case RtfKeyword::FontTable:
    case RtfKeyword::ColorTable:
    case RtfKeyword::Picture:
    case RtfKeyword::SkippedDestination:
    case RtfKeyword::ShownDestination:
    case RtfKeyword::Upr:
    case RtfKeyword::Ud:
        return true;
    default:
        return false;
    }
}

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

void RtfParser::controlWord(const RtfToken &token, bool ignorable)
{
    const RtfKeyword keyword = rtfKeyword(token.word);
    Group &group = top();
    if (group.destination == Destination::Skip) {
        if (group.uprChild && keyword == RtfKeyword::Ud) {
            group.destination = Destination::Normal;
            group.uprChild = false;
        }
        return;
    }
    if (ignorable && !isDestination(keyword)) {
        group.destination = Destination::Skip;
        return;
    }
    switch (keyword) {
    case RtfKeyword::FontTable:
        group.destination = Destination::FontTable;
        m_fontOpen = false;
        return;
    case RtfKeyword::ColorTable:
        group.destination = Destination::ColorTable;
        m_colorGiven = false;
        return;
    case RtfKeyword::Picture:
        if (group.destination != Destination::Normal) {
            group.destination = Destination::Skip;
            return;
        }
        group.destination = Destination::Picture;
        m_picture = RtfPicture();
        m_pictureDepth = m_groups.size();
        return;
    case RtfKeyword::SkippedDestination:
        group.destination = Destination::Skip;
        return;
    case RtfKeyword::ShownDestination:
    case RtfKeyword::Ud:
        if (group.destination == Destination::Upr)
            group.destination = Destination::Normal;
        return;
    case RtfKeyword::Upr:
        if (group.destination == Destination::Normal)
            group.destination = Destination::Upr;
        return;
    default:
        break;
    }
    switch (group.destination) {
    case Destination::Normal:
        normalWord(keyword, token);
        break;
    case Destination::FontTable:
        fontTableWord(keyword, token);
        break;
    case Destination::ColorTable:
        colorTableWord(keyword, token);
        break;
    case Destination::Picture:
        pictureWord(keyword, token);
        break;
    case Destination::Skip:
    case Destination::Upr:
        break;
    }
}

void RtfParser::normalWord(RtfKeyword keyword, const RtfToken &token)
{
    RtfCharState &c = top().character;
    RtfParaState &p = top().paragraph;
    const int value = token.parameter;
    using K = RtfKeyword;
    switch (keyword) {
    case K::Ansi:
        break; // the ANSI code page of the system the file was written on, unless \ansicpg says
    case K::Mac:
        m_ansiCodePage = QByteArrayLiteral("macintosh");
        break;
    case K::Pc:
        m_ansiCodePage = QByteArrayLiteral("IBM437");
        break;
    case K::Pca:
        m_ansiCodePage = QByteArrayLiteral("IBM850");
        break;
    case K::AnsiCodePage:
        if (const QByteArray name = WinCharset::codePageName(value); !name.isEmpty())
            m_ansiCodePage = name;
        break;
    case K::DefaultFont:
        m_defaultFont = std::max(0, value);
        break;
    case K::Font:
        c.font = std::max(0, value);
        break;
    case K::Plain:
        c = RtfCharState();
        break;
    case K::Bold:
        c.bold = toggle(token);
        break;
    case K::Italic:
        c.italic = toggle(token);
        break;
    case K::Underline:
        c.underline = toggle(token);
        break;
    case K::UnderlineNone:
        c.underline = false;
        break;
    case K::Strike:
        c.strike = toggle(token);
        break;
    case K::FontSize:
        c.halfPoints = token.hasParameter && value > 0 ? std::clamp(value, 2, 3276) : 24;
        break;
    case K::Color:
        c.color = std::max(0, value);
        break;
    case K::Background:
    case K::Highlight:
        c.background = std::max(0, value);
        break;
    case K::Caps:
        c.caps = toggle(token);
        break;
    case K::SmallCaps:
        c.smallCaps = toggle(token);
        break;
    case K::Super:
        c.vertical = toggle(token) ? 1 : 0;
        break;
    case K::Sub:
        c.vertical = toggle(token) ? -1 : 0;
        break;
    case K::NoSuperSub:
        c.vertical = 0;
        break;
    case K::Hidden:
        c.hidden = toggle(token);
        break;
    case K::Par:
    case K::Section:
        endParagraph();
        break;
    case K::Pard:
        p = RtfParaState();
        break;
    case K::AlignLeft:
        p.alignment = Qt::AlignLeft;
        break;
    case K::AlignCenter:
        p.alignment = Qt::AlignHCenter;
        break;
    case K::AlignRight:
        p.alignment = Qt::AlignRight;
        break;
    case K::AlignJustify:
        p.alignment = Qt::AlignJustify;
        break;
    case K::LeftIndent:
        p.leftIndent = twips(token);
        break;
    case K::RightIndent:
        p.rightIndent = twips(token);
        break;
    case K::FirstIndent:
        p.firstIndent = twips(token);
        break;
    case K::SpaceBefore:
        p.spaceBefore = std::max(0, twips(token));
        break;
    case K::SpaceAfter:
        p.spaceAfter = std::max(0, twips(token));
        break;
    case K::LineSpacing:
        p.lineSpacing = twips(token);
        break;
    case K::LineMultiple:
        p.lineMultiple = toggle(token);
        break;
    case K::Line:
        emitChar(0x2028);
        break;
    case K::Tab:
        emitChar('\t');
        break;
    case K::Page:
        endParagraph();
        m_pageBreakPending = true;
        break;
    case K::InTable:
        p.inTable = true;
        break;
    case K::Cell:
        if (m_pendingCells < 1000)
            ++m_pendingCells;
        break;
    case K::Row:
        m_pendingCells = 0;
        endParagraph();
        break;
    case K::EmDash:
        emitChar(0x2014);
        break;
    case K::EnDash:
        emitChar(0x2013);
        break;
    case K::EmSpace:
        emitChar(0x2003);
        break;
    case K::EnSpace:
        emitChar(0x2002);
        break;
    case K::QmSpace:
        emitChar(0x2005);
        break;
    case K::LeftQuote:
        emitChar(0x2018);
        break;
    case K::RightQuote:
        emitChar(0x2019);
        break;
    case K::LeftDoubleQuote:
        emitChar(0x201c);
        break;
    case K::RightDoubleQuote:
        emitChar(0x201d);
        break;
    case K::Bullet:
        emitChar(0x2022);
        break;
    case K::ZeroWidthJoiner:
        emitChar(0x200d);
        break;
    case K::ZeroWidthNonJoiner:
        emitChar(0x200c);
        break;
    case K::LtrMark:
        emitChar(0x200e);
        break;
    case K::RtlMark:
        emitChar(0x200f);
        break;
    case K::Unicode:
        if (token.hasParameter) {
            // Word writes characters above 32767 as negative numbers.
            emitCodePoint(value < 0 && value >= -32768 ? value + 65536 : value);
            m_unicodeSkipLeft = top().unicodeSkip;
        }
        break;
    case K::UnicodeSkip:
        top().unicodeSkip = std::clamp(token.hasParameter ? value : 1, 0, 255);
        break;
    default:
        break;
    }
}

void RtfParser::fontTableWord(RtfKeyword keyword, const RtfToken &token)
{
    switch (keyword) {
    case RtfKeyword::Font:
        if (m_fontOpen)
            finishFont();
        m_fontOpen = true;
        m_fontIndex = std::max(0, token.parameter);
        m_font = Font();
        m_fontName.clear();
        break;
    case RtfKeyword::FontCharset:
        m_font.charset = token.parameter;
        break;
    case RtfKeyword::FontCodePage:
        m_font.codePage = token.parameter;
        break;
    default:
        break;
    }
}

void RtfParser::colorTableWord(RtfKeyword keyword, const RtfToken &token)
{
    const int value = std::clamp(token.parameter, 0, 255);
    switch (keyword) {
    case RtfKeyword::Red:
        m_red = value;
        m_colorGiven = true;
        break;
    case RtfKeyword::Green:
        m_green = value;
        m_colorGiven = true;
        break;
    case RtfKeyword::Blue:
        m_blue = value;
        m_colorGiven = true;
        break;
    default:
        break;
    }
}

void RtfParser::pictureWord(RtfKeyword keyword, const RtfToken &token)
{
    using Format = RtfPicture::Format;
    const int value = token.parameter;
    switch (keyword) {
    case RtfKeyword::PngBlip:
        m_picture.format = Format::Png;
        break;
    case RtfKeyword::JpegBlip:
        m_picture.format = Format::Jpeg;
        break;
    case RtfKeyword::EmfBlip:
        m_picture.format = Format::Emf;
        break;
    case RtfKeyword::WindowsMetafile:
        m_picture.format = Format::Wmf;
        break;
    case RtfKeyword::DeviceIndependentBitmap:
        m_picture.format = Format::Dib;
        break;
    case RtfKeyword::PictureWidth:
        m_picture.width = value;
        break;
    case RtfKeyword::PictureHeight:
        m_picture.height = value;
        break;
    case RtfKeyword::PictureGoalWidth:
        m_picture.goalWidth = value;
        break;
    case RtfKeyword::PictureGoalHeight:
        m_picture.goalHeight = value;
        break;
    case RtfKeyword::PictureScaleX:
        m_picture.scaleX = value;
        break;
    case RtfKeyword::PictureScaleY:
        m_picture.scaleY = value;
        break;
    default:
        break;
    }
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
    if (!m_formatApplied || !(m_applied == top().character)) {
        m_applied = top().character;
        m_formatApplied = true;
        m_writer.setCharFormat(charFormat(m_applied));
    }
    m_writer.appendText(text);
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
    m_writer.endParagraph(blockFormat(top().paragraph));
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
}

void RtfParser::finishColor()
{
    if (m_colors.size() < m_limits.maxTableEntries)
        m_colors.append(m_colorGiven ? QColor(m_red, m_green, m_blue) : QColor());
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
    if (!m_formatApplied || !(m_applied == top().character)) {
        m_applied = top().character;
        m_formatApplied = true;
        m_writer.setCharFormat(charFormat(m_applied));
    }
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
    if (m_pageBreakPending)
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    return format;
}

} // namespace platform
