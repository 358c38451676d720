#include "platform/richtext/richtextloader.h"

#include "platform/richtext/plaintextreader.h"
#include "platform/richtext/rtfreader.h"

#include <QTextDocument>
#include <QTextOption>

namespace platform {

namespace {

constexpr double defaultTabStop = 48; // pixels: 720 twips at 96 pixels an inch

} // namespace

bool RichTextLoader::load(QByteArrayView bytes, QTextDocument &document) const
{
    // Without undo steps the load is faster, and typing cannot undo into the old text.
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    // Tab stops every half inch, as in WordPad, unless an RTF file sets its own.
    QTextOption option = document.defaultTextOption();
    option.setTabStopDistance(defaultTabStop);
    document.setDefaultTextOption(option);
    const bool complete = RtfReader::isRtf(bytes) ? RtfReader(m_limits).read(bytes, document)
                                                  : PlainTextReader(m_limits).read(bytes, document);
    document.setUndoRedoEnabled(undo);
    document.setModified(false);
    return complete;
}

} // namespace platform
