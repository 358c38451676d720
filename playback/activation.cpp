// Song activation: a left click on a song button reads its entry, shows its words, caption and
// icon, opens its audio and plays it at its volume; a right click edits the entry.

#include "app/captions.h"
#include "app/tbaseform.h"
#include "editor/teditiniform.h"
#include "kit/kitformat.h"
#include "platform/inifile.h"
#include "platform/media/mediaplayer.h"
#include "platform/picture/picture.h"
#include "platform/picture/transparency.h"
#include "platform/richtext/richtextedit.h"
#include "platform/speedbutton/speedbutton.h"
#include "platform/winpath.h"
#include "ui_tbaseform.h"

void TBaseForm::SpeedButtonSongClick(int song) { PlayAndText(song); }

void TBaseForm::PlayAndText(int song)
{
    // The speaker goes to 1 % also when the bar already stands at 1.
    setVolumeBar(1);
    ScrollBarVolumeChange();
    m_state.SongNumber = song;
    setStatus(QStringLiteral(" "));

    {
        const platform::IniFile kitFile(m_services.profiles, m_state.KitFileName);
        const kit::SongKeys keys = kit::songKeys(song);
        const kit::SongDefaults defaults = kit::activationSongDefaults();
        const QString &section = m_state.SectionName;
        m_state.TextFileName = kitFile.readString(section, keys.text, defaults.text);
        m_state.SongFileName = kitFile.readString(section, keys.song, defaults.song);
        m_state.SongCaption = kitFile.readString(section, keys.caption, defaults.caption);
        m_state.IconFileName = kitFile.readString(section, keys.icon, defaults.icon);
        m_state.SongVolume = kitFile.readInteger(section, keys.volume, defaults.volume);
    }

    if (m_ui->CheckBoxNoTxt->isChecked()) {
        m_ui->SpeedButtonToText->setDown(true);
        m_richEdit->show();
        m_ui->GroupBoxSong->hide();
    }

    const platform::WinPath &paths = m_services.paths;
    if (paths.fileExists(m_state.IconFileName))
        setIcon(platform::loadPicture(paths, m_state.IconFileName));

    setCaption(m_ui->LabelNameButton, QStringLiteral("  ") + m_state.SongCaption + QStringLiteral("  "));

    if (paths.fileExists(m_state.TextFileName))
        m_richEdit->loadFile(m_state.TextFileName);
    else
        appendStatus(QStringLiteral("No file RTF! "));

    platform::MediaPlayer &player = m_services.player;
    if (paths.fileExists(m_state.SongFileName)) {
        player.setFileName(m_state.SongFileName);
        player.open();
        player.setPosition(0);
        m_state.SongLoaded = true;
        // With the play button still down from the song before, this already starts the new one.
        setTrackBar(0);
        m_ui->SpeedButtonPlay->setEnabled(true);
        m_ui->SpeedButtonBegin->setEnabled(true);
        m_ui->SpeedButtonPlay->setDown(true);
        m_ui->TrackBarSong->setEnabled(true);
        m_ui->TrackBarSong->setPageStep(int(player.frames()));
        m_ui->TrackBarSong->setMaximum(int(player.length()));
        if (!m_timerMp3rpt.isActive())
            m_timerMp3rpt.start();
        if (m_ui->CheckBoxPlay->isChecked())
            player.play();
        else
            m_ui->SpeedButtonPlay->setDown(false);
    } else {
        appendStatus(QStringLiteral("no Wave File!"));
        m_ui->SpeedButtonPlay->setEnabled(false);
        m_ui->SpeedButtonPlay->setDown(false);
    }

    if (m_state.SongLoaded)
        SongStatusTime();
    setWindowTitle(u' ' + m_state.KitFileName);
    m_state.FadeTarget = m_state.SongVolume;
    if (!m_ui->SpeedButtonFadeIn->isDown())
        setVolumeBar(m_state.SongVolume);
}

void TBaseForm::SpeedButtonSongMouseDown(int song, Qt::MouseButton button)
{
    if (button != Qt::RightButton)
        return;
    m_state.SongNumber = song;
    if (m_editIniForm)
        m_editIniForm->exec();
    m_songButtons[song]->setText(m_state.SongCaption);
    if (m_services.paths.fileExists(m_state.IconFileName))
        m_songButtons[song]->setGlyph(QPixmap::fromImage(platform::loadBitmap(m_services.paths, m_state.IconFileName)));
}
