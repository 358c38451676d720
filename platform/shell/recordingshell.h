#pragma once

#include "platform/shell/shell.h"

#include <QStringList>
#include <functional>

namespace platform {

/** A shell for tests: records every target it is asked to open and opens nothing. */
class RecordingShell : public Shell
{
public:
    void open(const QString &target) override
    {
        opened.append(target);
        if (whileOpening)
            whileOpening(target);
    }

    QStringList opened;
    /** Runs inside each open, so a test can see the state the caller left while the shell works. */
    std::function<void(const QString &)> whileOpening;
};

} // namespace platform
