// The text pane and the board take turns on screen; single RTF and audio files open directly.

#include "app/captions.h"
#include "app/tbaseform.h"
#include "kit/kitformat.h"
#include "platform/inifile.h"
#include "platform/media/mediaplayer.h"
#include "platform/picture/picture.h"
#include "platform/picture/transparency.h"
#include "platform/richtext/richtextedit.h"
#include "platform/speedbutton/speedbutton.h"
#include "platform/winpath.h"
#include "ui_tbaseform.h"

void TBaseForm::SpeedButtonToSongClick()
{
    m_ui->GroupBoxSong->show();
    m_richEdit->hide();
}

void TBaseForm::SpeedButtonToTextClick()
{
    m_richEdit->show();
    m_ui->GroupBoxSong->hide();
}

void TBaseForm::SpeedButtonOpenTextClick()
{
    setStatus(QStringLiteral(" "));
    const auto chosen = m_services.dialogs.openFile(m_openDialogText);
    if (!chosen)
        return;
    m_openDialogText.fileName = *chosen;
    m_state.TextFileName = *chosen;
    m_richEdit->show();
    m_ui->GroupBoxSong->hide();
    m_richEdit->loadFile(m_state.TextFileName);
    setWindowTitle(QStringLiteral("Text = ") + m_state.TextFileName);
    if (m_services.paths.fileExists(kit::folders::NoSongIcon))
        setIcon(platform::loadPicture(m_services.paths, kit::folders::NoSongIcon));
    setCaption(m_ui->LabelNameButton, QStringLiteral(" ----  "));
}

void TBaseForm::SpeedButtonOpenSongClick()
{
    setStatus(QStringLiteral(" "));
    const auto chosen = m_services.dialogs.openFile(m_openDialogSong);
    if (!chosen)
        return;
    m_openDialogSong.fileName = *chosen;
    m_state.SongFileName = *chosen;
    platform::MediaPlayer &player = m_services.player;
    player.setFileName(m_state.SongFileName);
    player.open();
    player.setPosition(0);
    // A song opened on its own plays from the start and by the space key like any other.
    m_state.SongLoaded = true;
    setTrackBar(0);
    m_ui->SpeedButtonPlay->setDown(false);
    m_ui->SpeedButtonPlay->setEnabled(true);
    m_ui->SpeedButtonBegin->setEnabled(true);
    m_ui->TrackBarSong->setEnabled(true);
    m_ui->TrackBarSong->setPageStep(int(player.frames()));
    m_ui->TrackBarSong->setMaximum(int(player.length()));
    setWindowTitle(QStringLiteral("Song = ") + m_state.SongFileName);
    if (m_services.paths.fileExists(kit::folders::NoSongIcon))
        setIcon(platform::loadPicture(m_services.paths, kit::folders::NoSongIcon));
    setCaption(m_ui->LabelNameButton, QStringLiteral(" - "));
    SongStatusTime();
}

void TBaseForm::CheckBoxNoTxtClick()
{
    const platform::IniFile settings(m_services.profiles, QStringLiteral("pelcor.ini"));
    settings.writeString(u"OptionS", u"CheckBoxNoTxt",
                         m_ui->CheckBoxNoTxt->isChecked() ? QStringLiteral("ON") : QStringLiteral("OFF"));
}
