#pragma once

#include "platform/richtext/richtextlimits.h"

#include <QByteArray>
#include <QImage>
#include <QSizeF>

namespace platform {

/** The data and size words of one `\pict` group, gathered while it is read. */
struct RtfPicture
{
    enum class Format { Unknown, Png, Jpeg, Emf, Wmf, Dib };

    Format format = Format::Unknown;
    QByteArray data;
    bool tooBig = false;
    int width = 0;      // \picw: pixels, or 0.01 mm for a metafile
    int height = 0;     // \pich
    int goalWidth = 0;  // \picwgoal, twips
    int goalHeight = 0; // \pichgoal
    int scaleX = 100;   // \picscalex, percent
    int scaleY = 100;

    /** Adds hex digits; anything else in the text is ignored, as the format allows. */
    void addHex(QByteArrayView text, qsizetype maxBytes);
    void addBinary(QByteArrayView bytes, qsizetype maxBytes);

private:
    int m_nibble = -1;
};

/** A decoded picture and the size it is shown at, in pixels. */
struct RtfPictureImage
{
    QImage image;
    QSizeF displaySize;
};

/**
 * Decodes PNG, JPEG, DIB and Windows metafile pictures. A picture of another kind, a broken
 * one, or one past the limits or past `pixelBudget` gives a null image.
 */
RtfPictureImage decodeRtfPicture(const RtfPicture &picture, const RichTextLimits &limits,
                                 qint64 pixelBudget);

} // namespace platform
