#include "fuzzqt.h"
#include "platform/metafile/dib.h"
#include "platform/metafile/metafile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    startFuzzQt(argc, argv);
    return 0;
}

/** Any bytes as a metafile (drawn small, for speed) and as a packed DIB. */
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    platform::metafileSize(bytes);
    const int side = 8 + int(size % 57);
    platform::renderMetafile(bytes, QSize(side, 64 - side));
    platform::decodeDib(bytes, 4096);
    return 0;
}
