#pragma once

#include "platform/sysinfo/systeminfo.h"

#include <QString>

/** How the About box writes the system's figures: each a pure function of the query's answer. */
namespace aboutformats {

/** Kilobytes, rounded down: 1048575 bytes are "1023 K". */
QString memory(quint64 bytes);

/** "Windows 5.01" from bytes 0 and 1 of the version word. */
QString windowsVersion(quint32 versionWord);

/** "DOS 10.40" from bytes 3 and 2 of the version word. */
QString dosVersion(quint32 versionWord);

/** The processor's name by its level: 3 to 6, else empty. */
QString processorName(int level);

/** "5.1 (2600.Service Pack 3)": major, minor, the build's low 16 bits and the service pack text. */
QString subVersion(const platform::VersionRecord &record);

/** The platform's name by its id: 0 to 2, else empty. */
QString platformName(quint32 platformId);

/** Millions of bytes, truncated toward zero, so a missing drive's -1 is "0 Mb". */
QString megabytes(qint64 bytes);

/** A volume serial number as one unsigned decimal. */
QString serialNumber(quint32 serial);

} // namespace aboutformats
