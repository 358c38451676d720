#pragma once

#include "app/basestate.h"
#include "app/services.h"
#include "platform/dialogs.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>

namespace Ui {
class TBaseForm;
}
namespace platform {
class RichTextEdit;
class SpeedButton;
} // namespace platform
class TAboutForm;
class TEditIniForm;
class TZastForm;

/**
 * The main window: the button board, the text pane, the transport, the volume bar and the
 * options panel. Its fixed controls come from tbaseform.ui under the names the program uses for
 * them (found with findChild); the board's 70 buttons are built from their placement table.
 *
 * The handlers are defined in the folder of the subsystem they belong to: start-up and shutdown
 * in app/, the board in kit/, playing in playback/.
 */
class TBaseForm : public QWidget
{
    Q_OBJECT

public:
    /** Creating the window runs its creation handler, FormCreate, as its last step. */
    TBaseForm(BaseState &state, const Services &services, QWidget *parent = nullptr);
    /** Destroying the window runs its destruction handler, FormDestroy, first. */
    ~TBaseForm() override;

    /** The windows created after this one, which its handlers show. */
    void setOtherWindows(TAboutForm *about, TEditIniForm *editor, TZastForm *splash);

    platform::SpeedButton *SpeedButtonTema(int theme) const { return m_temaButtons.at(theme); }
    platform::SpeedButton *SpeedButtonSong(int song) const { return m_songButtons.at(song); }
    platform::RichTextEdit *RichEdit() const { return m_richEdit; }
    QTimer &TimerZast() { return m_timerZast; }

    // Start-up and shutdown (app/).
    void FormCreate();
    void FormDestroy();
    void FormResize();
    void TimerZastTimer();
    void SpeedButtonHelpClick();

    // The settings file, the window colour and the options panel (app/).
    void ReadSettings();
    void ApplyColour();
    void WriteSettings();
    void ScrollBarRedChange();
    void ScrollBarGreenChange();
    void ScrollBarBlueChange();
    void SpeedButtonOptionClick();
    void CheckBoxButtonBeginClick();
    /** "5, 123 Gb": whole gigabytes of 10^9 bytes, then the remaining bytes; -1 bytes give "0, -1 Gb". */
    static QString gigabytesText(qint64 bytes);

    // The button board (kit/).
    void ReturnNameButtonSong();
    void ReturnNameButtonTema();
    void JobTema(int theme);
    void SpeedButtonTemaClick(int theme);
    void SpeedButtonTemaMouseDown(int theme, Qt::MouseButton button);
    void SpeedButtonFileIniOpenClick();
    void SpeedButtonNewFileClick();
    /** The kit's name for the board's caption: the file name cut to 7 characters, less its extension. */
    static QString shortKitName(const QString &kitPath);

    // Playing a song (playback/).
    void PlayAndText(int song);
    void SpeedButtonSongClick(int song);
    void SpeedButtonSongMouseDown(int song, Qt::MouseButton button);
    void SongStatusTime();
    void TrackBarSongChange();
    void TimerPlayTimer();
    void SpeedButtonPlayClick();
    void SpeedButtonBeginClick();
    void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void RichEditKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void TimerMp3rptTimer();
    /** Minutes and seconds without leading zeros: 185000 ms is "3:5". */
    static QString timeText(qint64 milliseconds);

    // The text pane and opening single files (playback/).
    void SpeedButtonToSongClick();
    void SpeedButtonToTextClick();
    void SpeedButtonOpenTextClick();
    void SpeedButtonOpenSongClick();
    void CheckBoxNoTxtClick();

    // The volume bar, the system mixer and the fader (playback/).
    void MixerSetUp();
    void MixerClose();
    void ScrollBarVolumeChange();
    void TimerFaderTimer();
    void SpeedButtonFadeOutClick();
    void SpeedButtonFadeInClick();
    void ScrollBarFaderChange();

    QTimer &TimerPlay() { return m_timerPlay; }
    QTimer &TimerFader() { return m_timerFader; }
    QTimer &TimerMp3rpt() { return m_timerMp3rpt; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void setUpControls();
    void buildBoard();
    void connectHandlers();
    QRect creationBounds() const;
    void setStatus(const QString &caption);
    void appendStatus(const QString &text);
    void setBoardCaption(const QString &caption);
    /** The current song's picture, transparent where a bitmap has its bottom-left colour. */
    void setIcon(const QImage &picture);
    void applyFormColour();
    /** Sets a bar's position as the program does: its change handler runs when the value changes. */
    void setVolumeBar(int position);
    void setTrackBar(int position);
    void connectPlaybackHandlers();

    BaseState &m_state;
    Services m_services;
    std::unique_ptr<Ui::TBaseForm> m_ui;
    std::array<platform::SpeedButton *, 21> m_temaButtons{};
    std::array<platform::SpeedButton *, 51> m_songButtons{};
    platform::RichTextEdit *m_richEdit = nullptr;
    QTimer m_timerZast;
    QTimer m_timerPlay;
    QTimer m_timerMp3rpt;
    QTimer m_timerFader;
    platform::FileDialogOptions m_openDialogIniFile;
    platform::FileDialogOptions m_openDialogText;
    platform::FileDialogOptions m_openDialogSong;
    TAboutForm *m_aboutForm = nullptr;
    TEditIniForm *m_editIniForm = nullptr;
    TZastForm *m_zastForm = nullptr;
};
