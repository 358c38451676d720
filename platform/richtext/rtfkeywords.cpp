#include "platform/richtext/rtfkeywords.h"

#include <QHash>

namespace platform {

namespace {

using K = RtfKeyword;

struct Entry
{
    const char *word;
    RtfKeyword keyword;
};

constexpr Entry entries[] = {
    {"fonttbl", K::FontTable},
    {"colortbl", K::ColorTable},
    {"pict", K::Picture},
    {"stylesheet", K::SkippedDestination},
    {"info", K::SkippedDestination},
    {"header", K::SkippedDestination},
    {"headerl", K::SkippedDestination},
    {"headerr", K::SkippedDestination},
    {"headerf", K::SkippedDestination},
    {"footer", K::SkippedDestination},
    {"footerl", K::SkippedDestination},
    {"footerr", K::SkippedDestination},
    {"footerf", K::SkippedDestination},
    {"footnote", K::SkippedDestination},
    {"annotation", K::SkippedDestination},
    {"atnid", K::SkippedDestination},
    {"atnauthor", K::SkippedDestination},
    {"xe", K::SkippedDestination},
    {"tc", K::SkippedDestination},
    {"txe", K::SkippedDestination},
    {"rxe", K::SkippedDestination},
    {"listtable", K::SkippedDestination},
    {"listoverridetable", K::SkippedDestination},
    {"revtbl", K::SkippedDestination},
    {"filetbl", K::SkippedDestination},
    {"pgdsctbl", K::SkippedDestination},
    {"objdata", K::SkippedDestination},
    {"objclass", K::SkippedDestination},
    {"fldinst", K::SkippedDestination},
    {"template", K::SkippedDestination},
    {"nonshppict", K::SkippedDestination},
    {"pn", K::SkippedDestination},
    {"ftnsep", K::SkippedDestination},
    {"ftnsepc", K::SkippedDestination},
    {"aftnsep", K::SkippedDestination},
    {"aftnsepc", K::SkippedDestination},
    {"fldrslt", K::ShownDestination},
    {"result", K::ShownDestination},
    {"shppict", K::ShownDestination},
    {"pntext", K::ShownDestination},
    {"listtext", K::ShownDestination},
    {"upr", K::Upr},
    {"ud", K::Ud},
    {"ansi", K::Ansi},
    {"mac", K::Mac},
    {"pc", K::Pc},
    {"pca", K::Pca},
    {"ansicpg", K::AnsiCodePage},
    {"deff", K::DefaultFont},
    {"f", K::Font},
    {"fcharset", K::FontCharset},
    {"cpg", K::FontCodePage},
    {"red", K::Red},
    {"green", K::Green},
    {"blue", K::Blue},
    {"plain", K::Plain},
    {"b", K::Bold},
    {"i", K::Italic},
    {"ul", K::Underline},
    {"uld", K::Underline},
    {"uldash", K::Underline},
    {"uldashd", K::Underline},
    {"uldashdd", K::Underline},
    {"uldb", K::Underline},
    {"ulth", K::Underline},
    {"ulw", K::Underline},
    {"ulwave", K::Underline},
    {"ulnone", K::UnderlineNone},
    {"strike", K::Strike},
    {"striked", K::Strike},
    {"fs", K::FontSize},
    {"cf", K::Color},
    {"cb", K::Background},
    {"chcbpat", K::Background},
    {"highlight", K::Highlight},
    {"caps", K::Caps},
    {"scaps", K::SmallCaps},
    {"super", K::Super},
    {"sub", K::Sub},
    {"nosupersub", K::NoSuperSub},
    {"v", K::Hidden},
    {"par", K::Par},
    {"pard", K::Pard},
    {"ql", K::AlignLeft},
    {"qc", K::AlignCenter},
    {"qr", K::AlignRight},
    {"qj", K::AlignJustify},
    {"li", K::LeftIndent},
    {"lin", K::LeftIndent},
    {"ri", K::RightIndent},
    {"rin", K::RightIndent},
    {"fi", K::FirstIndent},
    {"sb", K::SpaceBefore},
    {"sa", K::SpaceAfter},
    {"sl", K::LineSpacing},
    {"slmult", K::LineMultiple},
    {"tx", K::TabStop},
    {"tb", K::TabStop},
    {"tqr", K::TabRight},
    {"tqc", K::TabCenter},
    {"tqdec", K::TabDecimal},
    {"deftab", K::DefaultTab},
    {"line", K::Line},
    {"lbr", K::Line},
    {"tab", K::Tab},
    {"page", K::Page},
    {"sect", K::Section},
    {"intbl", K::InTable},
    {"cell", K::Cell},
    {"nestcell", K::Cell},
    {"row", K::Row},
    {"nestrow", K::Row},
    {"emdash", K::EmDash},
    {"endash", K::EnDash},
    {"emspace", K::EmSpace},
    {"enspace", K::EnSpace},
    {"qmspace", K::QmSpace},
    {"lquote", K::LeftQuote},
    {"rquote", K::RightQuote},
    {"ldblquote", K::LeftDoubleQuote},
    {"rdblquote", K::RightDoubleQuote},
    {"bullet", K::Bullet},
    {"zwj", K::ZeroWidthJoiner},
    {"zwnj", K::ZeroWidthNonJoiner},
    {"ltrmark", K::LtrMark},
    {"rtlmark", K::RtlMark},
    {"u", K::Unicode},
    {"uc", K::UnicodeSkip},
    {"pngblip", K::PngBlip},
    {"jpegblip", K::JpegBlip},
    {"emfblip", K::EmfBlip},
    {"wmetafile", K::WindowsMetafile},
    {"dibitmap", K::DeviceIndependentBitmap},
    {"picw", K::PictureWidth},
    {"pich", K::PictureHeight},
    {"picwgoal", K::PictureGoalWidth},
    {"pichgoal", K::PictureGoalHeight},
    {"picscalex", K::PictureScaleX},
    {"picscaley", K::PictureScaleY},
};

const QHash<QByteArrayView, RtfKeyword> &table()
{
    static const QHash<QByteArrayView, RtfKeyword> words = [] {
        QHash<QByteArrayView, RtfKeyword> map;
        for (const Entry &entry : entries)
            map.insert(QByteArrayView(entry.word), entry.keyword);
        return map;
    }();
    return words;
}

} // namespace

RtfKeyword rtfKeyword(QByteArrayView word)
{
    if (word.size() > 32)
        return RtfKeyword::Unknown;
    return table().value(word, RtfKeyword::Unknown);
}

} // namespace platform
