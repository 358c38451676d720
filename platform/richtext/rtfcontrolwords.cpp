#include "platform/richtext/rtfparser.h"
#include "platform/richtext/wincharset.h"

#include <algorithm>

// The control words: what each one does in the destination it appears in.

namespace platform {

namespace {

constexpr int maxTwips = 31680; // 22 inches, the widest page Word allows

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

} // namespace

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
    case K::TabStop:
        if (p.tabs.size() < 64)
            p.tabs.push_back({std::max(0, twips(token)), p.nextTabKind});
        p.nextTabKind = RtfTabStop::Kind::Left;
        break;
    case K::TabRight:
        p.nextTabKind = RtfTabStop::Kind::Right;
        break;
    case K::TabCenter:
        p.nextTabKind = RtfTabStop::Kind::Center;
        break;
    case K::TabDecimal:
        p.nextTabKind = RtfTabStop::Kind::Decimal;
        break;
    case K::DefaultTab:
        if (token.hasParameter && value > 0)
            m_writer.setDefaultTabStop(std::min(value, maxTwips) / 15.0);
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

} // namespace platform
