#pragma once

#include <Qt>

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

    bool operator==(const RtfParaState &) const = default;
};

} // namespace platform
