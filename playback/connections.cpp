// The playback handlers bound to their controls, each inside the error boundary.

#include "app/tbaseform.h"
#include "kit/kitformat.h"
#include "platform/errorboundary.h"
#include "platform/richtext/richtextedit.h"
#include "platform/speedbutton/speedbutton.h"
#include "ui_tbaseform.h"

#include <QKeyEvent>

void TBaseForm::connectPlaybackHandlers()
{
    platform::ErrorBoundary &boundary = m_services.boundary;
    for (int song = 1; song <= kit::SongCount; ++song) {
        platform::SpeedButton *button = m_songButtons[song];
        connect(button, &platform::SpeedButton::clicked, this,
                boundary.guard([this, song] { SpeedButtonSongClick(song); }));
        connect(button, &platform::SpeedButton::mouseDown, this,
                boundary.guard([this, song](Qt::MouseButton pressed, Qt::KeyboardModifiers, QPoint) {
                    SpeedButtonSongMouseDown(song, pressed);
                }));
    }
    const auto onClick = [&](platform::SpeedButton *button, void (TBaseForm::*handler)()) {
        connect(button, &platform::SpeedButton::clicked, this, boundary.guard([this, handler] { (this->*handler)(); }));
    };
    onClick(m_ui->SpeedButtonPlay, &TBaseForm::SpeedButtonPlayClick);
    onClick(m_ui->SpeedButtonBegin, &TBaseForm::SpeedButtonBeginClick);
    onClick(m_ui->SpeedButtonToSong, &TBaseForm::SpeedButtonToSongClick);
    onClick(m_ui->SpeedButtonToText, &TBaseForm::SpeedButtonToTextClick);
    onClick(m_ui->SpeedButtonOpenText, &TBaseForm::SpeedButtonOpenTextClick);
    onClick(m_ui->SpeedButtonOpenSong, &TBaseForm::SpeedButtonOpenSongClick);
    onClick(m_ui->SpeedButtonFadeOut, &TBaseForm::SpeedButtonFadeOutClick);
    onClick(m_ui->SpeedButtonFadeIn, &TBaseForm::SpeedButtonFadeInClick);

    connect(m_ui->ScrollBarVolume, &QScrollBar::valueChanged, this, boundary.guard([this] { ScrollBarVolumeChange(); }));
    connect(m_ui->ScrollBarFader, &QScrollBar::valueChanged, this, boundary.guard([this] { ScrollBarFaderChange(); }));
    connect(&m_timerFader, &QTimer::timeout, this, boundary.guard([this] { TimerFaderTimer(); }));

    connect(m_ui->TrackBarSong, &QSlider::valueChanged, this, boundary.guard([this] { TrackBarSongChange(); }));
    connect(m_ui->CheckBoxNoTxt, &QCheckBox::toggled, this, boundary.guard([this] { CheckBoxNoTxtClick(); }));
    connect(&m_timerPlay, &QTimer::timeout, this, boundary.guard([this] { TimerPlayTimer(); }));
    connect(&m_timerMp3rpt, &QTimer::timeout, this, boundary.guard([this] { TimerMp3rptTimer(); }));

    // The text pane reports its keys before it types them; the main window gets only its own.
    m_richEdit->installEventFilter(this);
    setFocusPolicy(Qt::StrongFocus);
}

bool TBaseForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_richEdit && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        m_services.boundary.run([&] { RichEditKeyDown(key->key(), key->modifiers()); });
    }
    return QWidget::eventFilter(watched, event);
}

void TBaseForm::keyPressEvent(QKeyEvent *event)
{
    // A key the text pane did not use comes here too; it has had its handler already.
    if (focusWidget() != m_richEdit) {
        const int key = event->key();
        const Qt::KeyboardModifiers modifiers = event->modifiers();
        m_services.boundary.run([&] { FormKeyDown(key, modifiers); });
    }
    QWidget::keyPressEvent(event);
}
