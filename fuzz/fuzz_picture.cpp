#include "fuzzqt.h"
#include "platform/picture/picture.h"
#include "platform/platformerror.h"
#include "platform/winpath.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    startFuzzQt(argc, argv);
    return 0;
}

/** Any bytes, as an icon file of each type the program loads: bmp, ico, jpg, wmf and emf. */
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static QTemporaryDir dir;
    static platform::WinPath paths = [] {
        platform::WinPath map;
        map.mapDrive(u'C', dir.path());
        return map;
    }();
    for (const char *type : {"bmp", "ico", "jpg", "wmf", "emf"}) {
        const QString name = QStringLiteral("icon.") + QLatin1String(type);
        QFile file(dir.path() + u'/' + name);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(reinterpret_cast<const char *>(data), qint64(size));
        file.close();
        try {
            platform::loadPicture(paths, QStringLiteral("C:\\") + name);
        } catch (const platform::PlatformError &) {
        }
    }
    try {
        platform::loadBitmap(paths, QStringLiteral("C:\\icon.ico"));
    } catch (const platform::PlatformError &) {
    }
    return 0;
}
