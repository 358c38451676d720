#pragma once

#include <QString>

#include <optional>

namespace platform {

enum class MessageKind { Plain, Information, Warning, Error };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

/** What a file-open or picture-open dialog starts with. Paths are Windows paths. */
struct FileDialogOptions
{
    /** Description and pattern fields separated by `|`: "RTF files|*.rtf|all|*.*". */
    QString filter;
    QString initialFolder;
    /** The file name shown preset in the dialog. */
    QString fileName;
};

/**
 * The boxes and dialogs the program shows: message boxes, file and picture dialogs and the
 * standard error box. One implementation shows real windows; the tests' one answers from a script.
 */
class Dialogs
{
public:
    virtual ~Dialogs();

    virtual MessageAnswer message(MessageKind kind, const QString &text, MessageButtons buttons) = 0;

    /** The chosen file as a Windows path, or nothing when the user cancels. The file need not exist. */
    virtual std::optional<QString> openFile(const FileDialogOptions &options) = 0;

    /** As openFile, with a preview of the picture under the cursor. */
    virtual std::optional<QString> openPicture(const FileDialogOptions &options) = 0;

    /** The application's standard error box, which shows an error that ended a handler. */
    virtual void showError(const QString &text) = 0;

    /** "desc|pattern|desc|pattern" as pairs; a last description without a pattern is dropped. */
    static QList<std::pair<QString, QString>> filterPairs(const QString &filter);
};

} // namespace platform
