#pragma once

#include <QtGlobal>

namespace platform {

/**
 * Bounds the text readers (RTF and plain) keep so that no input can crash it, hang it or eat the
 * memory. Past a bound the reader stops adding and the document holds what was read so far; a
 * picture past its bounds is left out and the text goes on.
 */
struct RichTextLimits
{
    /** Groups nested deeper than this end the reading (a song text needs fewer than 20). */
    int maxGroupDepth = 1000;
    /** Characters in the document, paragraph ends included. */
    qsizetype maxTextLength = 4'000'000;
    /** Paragraphs in the document. */
    int maxParagraphs = 100'000;
    /** Bytes of one picture's data (after hex decoding). */
    qsizetype maxPictureBytes = 16 * 1024 * 1024;
    /** Width or height of one picture, in pixels. */
    int maxPictureSide = 8192;
    /** Pixels of one picture. */
    qint64 maxPicturePixels = 16'000'000;
    /** Pixels of all pictures of a document together. */
    qint64 maxTotalPicturePixels = 64'000'000;
    /** Entries of the font table and of the colour table; later ones are ignored. */
    int maxTableEntries = 4096;
};

} // namespace platform
