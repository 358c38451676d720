// The button editor's entry: choosing and clearing its files, and writing it to the kit on OK.

#include "app/captions.h"
#include "app/tbaseform.h"
#include "editor/teditiniform.h"
#include "kit/kitformat.h"
#include "platform/inifile.h"
#include "platform/picture/picture.h"
#include "platform/speedbutton/speedbutton.h"
#include "ui_teditiniform.h"

namespace {

const QString RtfWarning = QStringLiteral("Файл RTF не инициализирован! ");
const QString WavWarning = QStringLiteral("Файл Wav не инициализирован! ");
const QString IcoWarning = QStringLiteral("Файл Ico не инициализирован! ");
// The theme's warning is written with a Latin n before the Cyrillic е.
const QString ThemeIcoWarning =
    QStringLiteral("Файла Ico ") + u'n' + QStringLiteral("е существует ");

} // namespace

void TEditIniForm::SpeedButtonOpenTextClick()
{
    if (const auto chosen = m_services.dialogs.openFile(m_openDialogText)) {
        m_openDialogText.fileName = *chosen;
        m_editTextFileName = *chosen;
        setCaption(m_ui->LabelNameRtf, m_editTextFileName);
    }
}

void TEditIniForm::SpeedButtonOpenSongClick()
{
    if (const auto chosen = m_services.dialogs.openFile(m_openDialogSong)) {
        m_openDialogSong.fileName = *chosen;
        m_editSongFileName = *chosen;
        setCaption(m_ui->LabelNameSong, m_editSongFileName);
    }
}

void TEditIniForm::SpeedButtonIconClick()
{
    if (const auto chosen = m_services.dialogs.openPicture(m_openPictureDialog)) {
        m_openPictureDialog.fileName = *chosen;
        m_editIconFileName = *chosen;
        setCaption(m_ui->LabelIcon, m_editIconFileName);
        m_ui->SpeedButtonSongTemp->setGlyph(
            QPixmap::fromImage(platform::loadBitmap(m_services.paths, *chosen)));
    }
}

void TEditIniForm::SpeedButtonIcoTemaClick()
{
    if (const auto chosen = m_services.dialogs.openPicture(m_openPictureDialog)) {
        m_openPictureDialog.fileName = *chosen;
        m_editTemaIconFileName = *chosen;
        setCaption(m_ui->LabelIcoTema, m_editTemaIconFileName);
        m_ui->SpeedButtonTempTema->setGlyph(
            QPixmap::fromImage(platform::loadBitmap(m_services.paths, *chosen)));
    }
}

void TEditIniForm::SpeedButtonDelRtfClick()
{
    m_editTextFileName = kit::NoFile;
    setCaption(m_ui->LabelNameRtf, kit::NoFile);
}

void TEditIniForm::SpeedButtonDelSongClick()
{
    m_editSongFileName = kit::NoFile;
    setCaption(m_ui->LabelNameSong, kit::NoFile);
}

void TEditIniForm::SpeedButtonDelIconClick()
{
    m_editIconFileName = kit::NoFile;
    setCaption(m_ui->LabelIcon, kit::NoFile);
}

void TEditIniForm::SpeedButtonIcotemadelClick()
{
    m_editTemaIconFileName = kit::NoFile;
    setCaption(m_ui->LabelIcoTema, kit::NoFile);
}

bool TEditIniForm::writePathKey(const platform::IniFile &kitFile, const QString &section,
                                const QString &key, const QString &path, const QString &warning)
{
    if (path == kit::NoFile || m_services.paths.fileExists(path)) {
        kitFile.writeString(section, key, path);
        return true;
    }
    m_services.dialogs.message(platform::MessageKind::Warning, warning,
                               platform::MessageButtons::Ok);
    return false;
}

// The shared captions and icon path change only once the kit holds them: a refused write
// leaves them naming what the kit still holds, which the main window shows if the user cancels.
void TEditIniForm::writeSongEntry(const platform::IniFile &kitFile)
{
    const QString section = m_state.SectionName;
    const kit::SongKeys keys = kit::songKeys(m_state.SongNumber);
    const QString caption = m_ui->EditNameButton->text();
    kitFile.writeString(section, keys.caption, caption);
    m_state.SongCaption = caption;
    writePathKey(kitFile, section, keys.text, m_editTextFileName, RtfWarning);
    writePathKey(kitFile, section, keys.song, m_editSongFileName, WavWarning);
    if (writePathKey(kitFile, section, keys.icon, m_editIconFileName, IcoWarning))
        m_state.IconFileName = m_editIconFileName;
    kitFile.writeInteger(section, keys.volume, m_ui->ScrollBarVol->value());
    m_baseForm.ReturnNameButtonSong();
}

void TEditIniForm::writeThemeEntry(const platform::IniFile &kitFile)
{
    const kit::ThemeKeys keys = kit::themeKeys(m_state.TemaEditNumber);
    const QString caption = m_ui->EditTemaButton->text();
    kitFile.writeString(kit::ThemeSection, keys.caption, caption);
    m_state.TemaCaption = caption;
    writePathKey(kitFile, kit::ThemeSection, keys.icon, m_editTemaIconFileName, ThemeIcoWarning);
    m_baseForm.ReturnNameButtonTema();
}

void TEditIniForm::BitBtnOKClick()
{
    const platform::IniFile kitFile(m_services.profiles, m_state.KitFileName);
    const int mode = m_state.EditMode;
    const QString section = m_state.SectionName;
    if (mode == 1)
        writeSongEntry(kitFile);
    else if (mode == 2)
        writeThemeEntry(kitFile);

    m_baseForm.JobTema(m_state.TemaNumber);
    if (mode == 1)
        m_state.IconFileName =
            kitFile.readString(section, kit::songKeys(m_state.SongNumber).icon, kit::NoFile);
    // Only now: should a reload fail, the dialog stays open in the mode it shows, and a second
    // OK in theme mode must not write the hidden song fields.
    m_state.EditMode = 1;
    accept();
}
