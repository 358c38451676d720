// The volume bar drives the speaker volume through the system mixer; the fader walks the bar
// down to silence or up past the song's volume, one step per tick, while a song plays.

#include "app/captions.h"
#include "app/tbaseform.h"
#include "platform/dialogs.h"
#include "platform/mixer/mixer.h"
#include "platform/speedbutton/speedbutton.h"
#include "ui_tbaseform.h"

namespace {
// Between the bar's 0..100 and the mixer's scale: position 100 is 65500, not 65535.
constexpr quint32 VolumeScale = 655;
} // namespace

void TBaseForm::MixerSetUp()
{
    if (!m_services.mixer.open()) {
        m_services.dialogs.message(platform::MessageKind::Plain, QStringLiteral("MIXER не найден !"),
                                   platform::MessageButtons::Ok);
        return;
    }
    m_state.MixerReady = true;
    setVolumeBar(int(m_services.mixer.volume() / VolumeScale));
}

void TBaseForm::MixerClose()
{
    if (m_state.MixerReady)
        m_services.mixer.close();
}

void TBaseForm::ScrollBarVolumeChange()
{
    if (!m_state.MixerReady)
        return;
    const int position = m_ui->ScrollBarVolume->value();
    m_services.mixer.setVolume(quint32(position) * VolumeScale);
    setCaption(m_ui->LabelVolume, QString::number(position) + u'%');
}

void TBaseForm::TimerFaderTimer()
{
    if (!m_ui->SpeedButtonPlay->isDown())
        return;
    int volume = m_ui->ScrollBarVolume->value();
    if (m_ui->SpeedButtonFadeOut->isDown()) {
        if (volume > 0)
            setVolumeBar(--volume);
        else
            m_ui->SpeedButtonFadeOut->setDown(false);
    }
    if (m_ui->SpeedButtonFadeIn->isDown()) {
        if (volume <= m_state.FadeTarget)
            setVolumeBar(++volume);
        else
            m_ui->SpeedButtonFadeIn->setDown(false);
    }
    // Tested on the volume asked for, not on the bar's clamped position: a target of 100 or
    // more keeps asking for 101 once the bar stands at 100.
    if (volume == 100)
        m_ui->SpeedButtonFadeIn->setDown(false);
}

void TBaseForm::SpeedButtonFadeOutClick() { m_ui->SpeedButtonFadeIn->setDown(false); }

void TBaseForm::SpeedButtonFadeInClick() { m_ui->SpeedButtonFadeOut->setDown(false); }

void TBaseForm::ScrollBarFaderChange()
{
    const int tick = (255 - m_ui->ScrollBarFader->value()) * 10;
    m_timerFader.setInterval(tick);
    setCaption(m_ui->LabelSpFader, QString::number(tick) + QStringLiteral(" mc"));
}
