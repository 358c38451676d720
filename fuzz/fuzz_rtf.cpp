#include "fuzzqt.h"
#include "platform/richtext/richtextloader.h"

#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    startFuzzQt(argc, argv);
    return 0;
}

/** Any bytes, read as the text pane reads a file, then laid out as it shows them. */
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QTextDocument document;
    platform::RichTextLoader().load(QByteArrayView(data, qsizetype(size)), document);
    document.setTextWidth(400);
    document.documentLayout()->documentSize();
    return 0;
}
