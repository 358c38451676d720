#include "support/scripteddialogs.h"

#include <QTest>

using platform::MessageAnswer;

void ScriptedDialogs::answerMessage(MessageAnswer answer) { m_script.append({Kind::Message, answer, {}}); }

void ScriptedDialogs::answerFile(const std::optional<QString> &windowsPath)
{
    m_script.append({Kind::OpenFile, MessageAnswer::Ok, windowsPath});
}

void ScriptedDialogs::expectError() { m_script.append({Kind::Error, MessageAnswer::Ok, {}}); }

std::optional<ScriptedDialogs::Answer> ScriptedDialogs::take(Kind kind, const QString &what)
{
    const Kind wanted = kind == Kind::OpenPicture ? Kind::OpenFile : kind;
    if (m_script.isEmpty() || m_script.constFirst().kind != wanted) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected box: %1").arg(what)), __FILE__, __LINE__);
        return std::nullopt;
    }
    return m_script.takeFirst();
}

MessageAnswer ScriptedDialogs::message(platform::MessageKind kind, const QString &text,
                                       platform::MessageButtons buttons)
{
    m_shown.append({Kind::Message, kind, buttons, text, {}});
    const auto answer = take(Kind::Message, QStringLiteral("message \"%1\"").arg(text));
    if (!answer)
        return buttons == platform::MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    return answer->message;
}

std::optional<QString> ScriptedDialogs::openFile(const platform::FileDialogOptions &options)
{
    m_shown.append({Kind::OpenFile, {}, {}, {}, options});
    const auto answer = take(Kind::OpenFile, QStringLiteral("file dialog %1").arg(options.filter));
    return answer ? answer->file : std::nullopt;
}

std::optional<QString> ScriptedDialogs::openPicture(const platform::FileDialogOptions &options)
{
    m_shown.append({Kind::OpenPicture, {}, {}, {}, options});
    const auto answer = take(Kind::OpenPicture, QStringLiteral("picture dialog %1").arg(options.filter));
    return answer ? answer->file : std::nullopt;
}

void ScriptedDialogs::showError(const QString &text)
{
    m_shown.append({Kind::Error, platform::MessageKind::Error, platform::MessageButtons::Ok, text, {}});
    take(Kind::Error, QStringLiteral("error box \"%1\"").arg(text));
}

QStringList ScriptedDialogs::texts() const
{
    QStringList texts;
    for (const Shown &box : m_shown) {
        if (box.kind == Kind::Message || box.kind == Kind::Error)
            texts.append(box.text);
    }
    return texts;
}

void ScriptedDialogs::clear()
{
    m_script.clear();
    m_shown.clear();
}
