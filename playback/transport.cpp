// The transport: play and stop, play from the start, the space key, the position bar and the
// time labels, the play poll that follows the song and handles its end, and the re-seek.

#include "app/captions.h"
#include "app/tbaseform.h"
#include "platform/media/mediaplayer.h"
#include "platform/richtext/richtextedit.h"
#include "platform/speedbutton/speedbutton.h"
#include "ui_tbaseform.h"

QString TBaseForm::timeText(qint64 milliseconds)
{
    const qint64 seconds = milliseconds / 1000;
    return QString::number(seconds / 60) + u':' + QString::number(seconds % 60);
}

void TBaseForm::SongStatusTime()
{
    const qint64 length = m_services.player.length();
    const qint64 position = m_services.player.position();
    setCaption(m_ui->LabelSongLeghtTime, u' ' + timeText(length) + QStringLiteral("  "));
    setCaption(m_ui->LabelSongTimeBeg, u' ' + timeText(position) + u' ');
    setCaption(m_ui->LabelSongTimeEnd, u' ' + timeText(length - position) + u' ');
}

void TBaseForm::TrackBarSongChange()
{
    if (m_state.SeekEnabled) {
        m_services.player.setPosition(m_ui->TrackBarSong->value());
        if (m_ui->SpeedButtonPlay->isDown())
            m_services.player.play();
        m_state.SongLoaded = true;
    }
    SongStatusTime();
}

void TBaseForm::TimerPlayTimer()
{
    platform::MediaPlayer &player = m_services.player;
    if (player.mode() == platform::MediaMode::Playing) {
        const qint64 position = player.position();
        if (position != 0) {
            // The caret jumps to a 1/q share of the text: the end for the whole second half.
            const qint64 share = std::max<qint64>(1, player.length() / position);
            m_richEdit->setCaretPosition(int(m_richEdit->textLength() / share));
        }
        // The poll's own move of the bar must not seek the player.
        m_state.SeekEnabled = false;
        struct SeekAgain
        {
            BaseState &state;
            ~SeekAgain() { state.SeekEnabled = true; }
        } seekAgain{m_state};
        setTrackBar(int(player.position()));
        SongStatusTime();
    }
    if (m_state.SongLoaded && player.position() + 1 >= player.length()) {
        setTrackBar(0);
        player.setPosition(0);
        SongStatusTime();
        if (m_ui->CheckBoxRepeat->isChecked())
            player.play();
        else
            m_ui->SpeedButtonPlay->setDown(false);
    }
}

void TBaseForm::SpeedButtonPlayClick()
{
    platform::MediaPlayer &player = m_services.player;
    if (m_ui->SpeedButtonPlay->isDown()) {
        player.setPosition(m_ui->TrackBarSong->value());
        player.play();
        if (!m_timerMp3rpt.isActive())
            m_timerMp3rpt.start();
        if (!m_ui->SpeedButtonFadeIn->isDown())
            setVolumeBar(m_state.SongVolume);
    } else {
        setVolumeBar(1);
        player.stop();
    }
}

void TBaseForm::SpeedButtonBeginClick()
{
    if (!m_state.SongLoaded)
        return;
    setVolumeBar(1);
    m_services.player.setPosition(0);
    setTrackBar(0);
    m_services.player.play();
    m_ui->SpeedButtonPlay->setDown(true);
    if (!m_ui->SpeedButtonFadeIn->isDown())
        setVolumeBar(m_state.SongVolume);
}

void TBaseForm::FormKeyDown(int key, Qt::KeyboardModifiers)
{
    if (!m_state.SongLoaded || !m_ui->CheckBoxKey->isChecked() || key != Qt::Key_Space)
        return;
    platform::MediaPlayer &player = m_services.player;
    if (m_ui->SpeedButtonPlay->isDown()) {
        player.stop();
        m_ui->SpeedButtonPlay->setDown(false);
    } else {
        player.setPosition(m_ui->TrackBarSong->value());
        player.play();
        m_ui->SpeedButtonPlay->setDown(true);
    }
}

void TBaseForm::RichEditKeyDown(int key, Qt::KeyboardModifiers modifiers) { FormKeyDown(key, modifiers); }

void TBaseForm::TimerMp3rptTimer()
{
    if (m_ui->CheckBoxLefMP3->isChecked())
        TrackBarSongChange();
    m_timerMp3rpt.stop();
}
