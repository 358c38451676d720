#include "platform/richtext/richtextloader.h"

#include "platform/richtext/plaintextreader.h"
#include "platform/richtext/rtfreader.h"

#include <QTextDocument>

namespace platform {

bool RichTextLoader::load(QByteArrayView bytes, QTextDocument &document) const
{
    // Without undo steps the load is faster, and typing cannot undo into the old text.
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    document.clear();
    const bool complete = RtfReader::isRtf(bytes) ? RtfReader(m_limits).read(bytes, document)
                                                  : PlainTextReader(m_limits).read(bytes, document);
    document.setUndoRedoEnabled(undo);
    document.setModified(false);
    return complete;
}

} // namespace platform
