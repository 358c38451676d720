#pragma once

#include <QString>
#include <memory>

namespace platform {

/** The shell's default action on a link: a mail program for "mailto:", a browser for a web address.
 */
class Shell
{
public:
    virtual ~Shell() = default;

    /** Opens the target; whether anything opened is not reported. */
    virtual void open(const QString &target) = 0;
};

/**
 * Opens links through the desktop's handlers (QDesktopServices). Only mailto:, http: and https:
 * targets are passed on: a link never starts a local file or program.
 */
std::unique_ptr<Shell> createDesktopShell();

} // namespace platform
