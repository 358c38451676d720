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

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void setUpControls();
    void buildBoard();
    void connectHandlers();
    template <typename Control> Control *control(const char *name) const;
    QRect creationBounds() const;
    void setStatus(const QString &caption);
    void setBoardCaption(const QString &caption);

    BaseState &m_state;
    Services m_services;
    std::unique_ptr<Ui::TBaseForm> m_ui;
    std::array<platform::SpeedButton *, 21> m_temaButtons{};
    std::array<platform::SpeedButton *, 51> m_songButtons{};
    platform::RichTextEdit *m_richEdit = nullptr;
    QTimer m_timerZast;
    platform::FileDialogOptions m_openDialogIniFile;
    TAboutForm *m_aboutForm = nullptr;
    TEditIniForm *m_editIniForm = nullptr;
    TZastForm *m_zastForm = nullptr;
    bool m_destroyed = false;
};
