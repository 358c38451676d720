// Creating a new kit file from the editor's new-file mode.

#include "editor/teditiniform.h"
#include "kit/kitformat.h"
#include "platform/inifile.h"
#include "platform/winpath.h"
#include "ui_teditiniform.h"

namespace {

// The profile functions would put a bare file name into the Windows folder while the check for
// the new file looks in the current folder, so such a name can never be created as asked; it
// is refused before anything is written, and no file of the Windows folder is touched.
bool hasFolder(const QString &name)
{
    return name.contains(u'\\') || name.contains(u'/');
}

} // namespace

void TEditIniForm::SpeedButtonNewClick()
{
    const QString name = m_ui->Editfile->text();
    const platform::WinPath &paths = m_services.paths;
    if (hasFolder(name)) {
        if (paths.fileExists(name)) {
            const platform::MessageAnswer answer = m_services.dialogs.message(
                platform::MessageKind::Warning,
                QStringLiteral("файл ") + name + QStringLiteral(" существует, заменить его?"),
                platform::MessageButtons::YesNo);
            // No leaves the editor open on the name, to be changed or cancelled. Yes keeps what
            // the kit holds: it only gains the option entry, so no user's work is lost.
            if (answer != platform::MessageAnswer::Yes)
                return;
            m_state.KitFileName = name;
            setWindowTitle(name);
        }
        platform::IniFile(m_services.profiles, name)
            .writeString(kit::OptionSection, kit::OptionFileKey, m_state.KitFileName);
    }

    if (hasFolder(name) && paths.fileExists(name)) {
        m_services.dialogs.message(platform::MessageKind::Warning,
                                   QStringLiteral("Создан файл ") + name,
                                   platform::MessageButtons::Ok);
        m_state.KitFileName = name;
        setWindowTitle(name);
    } else {
        m_services.dialogs.message(platform::MessageKind::Error,
                                   QStringLiteral("Ошибка пути или имени файла!"),
                                   platform::MessageButtons::Ok);
    }
    m_state.EditMode = 1;
    accept();
}
