#pragma once

#include <Qt>
#include <vector>

namespace platform {

/** Character properties of an RTF group, in the file's own units. */
struct RtfCharState
{
    int font = -1;
    int halfPoints = 24;
    int color = 0;      // colour table index, 0 is "auto"
    int background = 0; // colour table index from \cb, \chcbpat or \highlight
    int vertical = 0;   // 1 superscript, -1 subscript
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool caps = false;
    bool smallCaps = false;
    bool hidden = false;

    bool operator==(const RtfCharState &) const = default;
};

/** A tab stop: its position in twips and its kind (\tqr, \tqc, \tqdec or left). */
struct RtfTabStop
{
    enum class Kind { Left, Right, Center, Decimal };
    int position = 0;
    Kind kind = Kind::Left;

    bool operator==(const RtfTabStop &) const = default;
};

/** Paragraph properties of an RTF group; lengths in twips. */
struct RtfParaState
{
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0; // \sl: > 0 at least, < 0 exactly, 0 single
    bool lineMultiple = false;
    bool inTable = false;
    std::vector<RtfTabStop> tabs;
    RtfTabStop::Kind nextTabKind = RtfTabStop::Kind::Left; // for the next \tx

    bool operator==(const RtfParaState &) const = default;
};

} // namespace platform
