#pragma once

#include "platform/dialogs.h"

#include <QList>
#include <QStringList>

#include <optional>

/**
 * Dialogs for tests: every box shown is recorded with its text, answers come from a queue the
 * test fills beforehand, and a box the test did not expect fails the running test.
 */
class ScriptedDialogs : public platform::Dialogs
{
public:
    enum class Kind { Message, OpenFile, OpenPicture, Error };

    struct Shown
    {
        Kind kind;
        platform::MessageKind messageKind = platform::MessageKind::Plain;
        platform::MessageButtons buttons = platform::MessageButtons::Ok;
        QString text;                        // the message or error text
        platform::FileDialogOptions options; // for the file dialogs
    };

    /** The next message box is answered with `answer` (Ok for a box with one button). */
    void answerMessage(platform::MessageAnswer answer = platform::MessageAnswer::Ok);
    /** The next file or picture dialog returns `windowsPath`, or is cancelled when empty. */
    void answerFile(const std::optional<QString> &windowsPath);
    /** The next standard error box is expected (it needs no answer). */
    void expectError();

    platform::MessageAnswer message(platform::MessageKind kind, const QString &text,
                                    platform::MessageButtons buttons) override;
    std::optional<QString> openFile(const platform::FileDialogOptions &options) override;
    std::optional<QString> openPicture(const platform::FileDialogOptions &options) override;
    void showError(const QString &text) override;

    const QList<Shown> &shown() const { return m_shown; }
    /** The texts of the message and error boxes shown, in order. */
    QStringList texts() const;
    /** True when every scripted answer was used. */
    bool scriptDone() const { return m_script.isEmpty(); }
    void clear();

private:
    struct Answer
    {
        Kind kind;
        platform::MessageAnswer message = platform::MessageAnswer::Ok;
        std::optional<QString> file;
    };
    std::optional<Answer> take(Kind kind, const QString &what);

    QList<Answer> m_script;
    QList<Shown> m_shown;
};
