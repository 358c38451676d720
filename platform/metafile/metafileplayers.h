#pragma once

#include <QByteArrayView>
#include <QSize>

namespace platform {

class GdiCanvas;

/** Plays the records of a WMF (after any placeable header) onto a canvas in window mode. */
void playWmf(QByteArrayView records, GdiCanvas &canvas);

/** Plays the records of an EMF onto a canvas set up from its header. */
void playEmf(QByteArrayView bytes, GdiCanvas &canvas);

} // namespace platform
