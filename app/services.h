#pragma once

namespace platform {
class Dialogs;
class ErrorBoundary;
class MediaPlayer;
class Mixer;
class SystemInfo;
class ProfileStore;
class Shell;
class WinPath;
} // namespace platform

/** The platform objects the windows work through; made once by the program, or by a test. */
struct Services
{
    const platform::WinPath &paths;
    platform::ProfileStore &profiles;
    platform::Dialogs &dialogs;
    platform::ErrorBoundary &boundary;
    platform::MediaPlayer &player;
    platform::Mixer &mixer;
    const platform::SystemInfo &system;
    platform::Shell &shell;
};
