// The button board: filling it from the kit, choosing a theme, opening and creating kits.

#include "app/captions.h"
#include "app/tbaseform.h"
#include "editor/teditiniform.h"
#include "kit/kitformat.h"
#include "platform/inifile.h"
#include "platform/picture/picture.h"
#include "platform/richtext/richtextedit.h"
#include "platform/speedbutton/speedbutton.h"
#include "platform/winpath.h"
#include "ui_tbaseform.h"

#include <QGroupBox>
#include <QLabel>

namespace {


QPixmap bitmapGlyph(const platform::WinPath &paths, const QString &path)
{
    return QPixmap::fromImage(platform::loadBitmap(paths, path));
}

} // namespace

void TBaseForm::ReturnNameButtonSong()
{
    const platform::IniFile kitFile(m_services.profiles, m_state.KitFileName);
    const QString section = m_state.SectionName;
    for (int song = 1; song <= kit::SongCount; ++song) {
        const kit::SongDefaults defaults = kit::boardSongDefaults(song);
        m_songButtons[song]->setText(kitFile.readString(section, kit::songKeys(song).caption, defaults.caption));
    }
    for (int song = 1; song <= kit::SongCount; ++song) {
        const QString icon = kitFile.readString(section, kit::songKeys(song).icon, kit::boardSongDefaults(song).icon);
        const QString glyph = m_services.paths.fileExists(icon) ? icon : kit::folders::NoSongIcon;
        m_songButtons[song]->setGlyph(bitmapGlyph(m_services.paths, glyph));
    }
}

void TBaseForm::ReturnNameButtonTema()
{
    const platform::IniFile kitFile(m_services.profiles, m_state.KitFileName);
    for (int theme = 1; theme <= kit::ThemeCount; ++theme) {
        const kit::ThemeDefaults defaults = kit::boardThemeDefaults(theme);
        const kit::ThemeKeys keys = kit::themeKeys(theme);
        const QString icon = kitFile.readString(kit::ThemeSection, keys.icon, defaults.icon);
        const QString glyph = m_services.paths.fileExists(icon) ? icon : kit::folders::NoThemeIcon;
        m_temaButtons[theme]->setGlyph(bitmapGlyph(m_services.paths, glyph));
        m_temaButtons[theme]->setText(kitFile.readString(kit::ThemeSection, keys.caption, defaults.caption));
    }
}

void TBaseForm::JobTema(int theme)
{
    m_state.TemaEditNumber = theme;
    m_state.SectionName = kit::sectionName(theme);
    ReturnNameButtonSong();
    m_songButtons[1]->setDown(true);
}

void TBaseForm::SpeedButtonTemaClick(int theme)
{
    m_state.TemaNumber = theme;
    JobTema(theme);
}

void TBaseForm::SpeedButtonTemaMouseDown(int theme, Qt::MouseButton button)
{
    if (button != Qt::RightButton)
        return;
    m_state.TemaEditNumber = theme;
    m_state.EditMode = 2;
    if (m_editIniForm)
        m_editIniForm->exec();
    m_temaButtons[theme]->setText(m_state.TemaCaption);
}

QString TBaseForm::shortKitName(const QString &kitPath)
{
    QString name = platform::WinPath::fileName(kitPath).left(7);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot >= 0)
        name.truncate(dot);
    return name;
}

void TBaseForm::SpeedButtonFileIniOpenClick()
{
    setStatus(QStringLiteral(" "));
    m_richEdit->hide();
    m_ui->GroupBoxSong->hide();

    if (const auto chosen = m_services.dialogs.openFile(m_openDialogIniFile)) {
        m_openDialogIniFile.fileName = *chosen;
        m_state.KitFileName = *chosen;
        ReturnNameButtonSong();
        ReturnNameButtonTema();
        // A newly opened kit starts on its first theme, as at start-up.
        m_temaButtons[1]->setDown(true);
        m_state.TemaNumber = 1;
        JobTema(1);
        setBoardCaption(shortKitName(m_state.KitFileName));
    }

    m_ui->GroupBoxSong->show();
    m_ui->SpeedButtonToSong->setDown(true);
    setWindowTitle(u' ' + m_state.KitFileName);
}

void TBaseForm::SpeedButtonNewFileClick()
{
    setStatus(QStringLiteral(" "));
    m_state.EditMode = 3;
    if (m_editIniForm)
        m_editIniForm->exec();
    if (m_services.paths.fileExists(m_state.KitFileName)) {
        ReturnNameButtonSong();
        ReturnNameButtonTema();
        setBoardCaption(m_state.KitFileName);
        setWindowTitle(QStringLiteral("JOB kits = ") + m_state.KitFileName);
    } else {
        setStatus(kit::MissingKitStatus);
        setBoardCaption(QStringLiteral("No File  ") + m_state.KitFileName);
    }
}
