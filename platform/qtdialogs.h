#pragma once

#include "platform/dialogs.h"
#include "platform/winpath.h"

class QWidget;

namespace platform {

/** Real message boxes and file dialogs, shown modally over the active window. */
class QtDialogs : public Dialogs
{
public:
    /** `paths` turns the dialogs' host paths into Windows paths and back; it must outlive this. */
    explicit QtDialogs(const WinPath &paths, QString applicationTitle);

    MessageAnswer message(MessageKind kind, const QString &text, MessageButtons buttons) override;
    std::optional<QString> openFile(const FileDialogOptions &options) override;
    std::optional<QString> openPicture(const FileDialogOptions &options) override;
    void showError(const QString &text) override;

private:
    std::optional<QString> runFileDialog(const FileDialogOptions &options, bool withPreview);

    const WinPath &m_paths;
    QString m_title;
};

} // namespace platform
