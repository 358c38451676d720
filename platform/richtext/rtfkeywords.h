#pragma once

#include <QByteArrayView>

namespace platform {

/** The RTF control words the reader acts on; every other word is ignored. */
enum class RtfKeyword {
    Unknown,
    // destinations
    FontTable,
    ColorTable,
    Picture,
    SkippedDestination, // a destination whose text is never shown
    ShownDestination,   // a destination whose text is shown (\fldrslt, \shppict, \pntext ...)
    Upr,
    Ud,
    // document
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCodePage,
    DefaultFont,
    // font and colour tables
    Font,
    FontCharset,
    FontCodePage,
    Red,
    Green,
    Blue,
    // characters
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    FontSize,
    Color,
    Background,
    Highlight,
    Caps,
    SmallCaps,
    Super,
    Sub,
    NoSuperSub,
    Hidden,
    // paragraphs
    Par,
    Pard,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    LineSpacing,
    LineMultiple,
    TabStop,
    TabRight,
    TabCenter,
    TabDecimal,
    DefaultTab,
    Line,
    Tab,
    Page,
    Section,
    InTable,
    Cell,
    Row,
    // special characters
    EmDash,
    EnDash,
    EmSpace,
    EnSpace,
    QmSpace,
    LeftQuote,
    RightQuote,
    LeftDoubleQuote,
    RightDoubleQuote,
    Bullet,
    ZeroWidthJoiner,
    ZeroWidthNonJoiner,
    LtrMark,
    RtlMark,
    Unicode,
    UnicodeSkip,
    // pictures
    PngBlip,
    JpegBlip,
    EmfBlip,
    WindowsMetafile,
    DeviceIndependentBitmap,
    PictureWidth,
    PictureHeight,
    PictureGoalWidth,
    PictureGoalHeight,
    PictureScaleX,
    PictureScaleY,
};

RtfKeyword rtfKeyword(QByteArrayView word);

} // namespace platform
