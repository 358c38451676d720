#pragma once

#include <QString>

namespace platform {
class WinPath;
}

/** The demo drive an installed program carries: share/karvel/demo/drive_c beside its bin folder. */
QString installedDemoDrive();

/**
 * Gives a first start its drive C: when drive C's folder does not exist yet, the demo drive is
 * copied there. An existing folder (or anything else of that name) is never touched, and a missing
 * demo, or a drive C that is not mapped, does nothing. The copy is made in a hidden folder beside
 * drive C's and renamed into place, so an interrupted copy never passes for a drive C on the next
 * start. Returns true when it copied.
 */
bool copyDemoDriveOnFirstRun(const platform::WinPath &paths, const QString &demoFolder);
