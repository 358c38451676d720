#pragma once

#include "app/basestate.h"
#include "app/services.h"
#include "platform/dialogs.h"
#include "platform/errorboundary.h"

#include <QDialog>
#include <memory>

namespace Ui {
class TEditIniForm;
}
namespace platform {
class IniFile;
class SpeedButton;
} // namespace platform
class QCheckBox;
class QScrollBar;
class TBaseForm;

/**
 * The button editor: the modal dialog that edits one song or theme button of the kit, or names
 * a new kit, as the shared EditMode says. Every opening reloads its controls from the kit; only
 * OK (and CreateFile) writes to it. An error in its handlers (a kit that cannot be written)
 * is shown at once and the dialog stays open.
 */
class TEditIniForm : public QDialog
{
    Q_OBJECT

public:
    TEditIniForm(BaseState &state, const Services &services, TBaseForm &baseForm,
                 QWidget *parent = nullptr);
    ~TEditIniForm() override;

    void FormCreate();
    /** Runs when the dialog is shown: loads the controls of the mode EditMode names. */
    void FormActivate();

    void EditNameButtonKeyUp();
    void EditTemaButtonKeyUp();

    void SpeedButtonOpenTextClick();
    void SpeedButtonOpenSongClick();
    void SpeedButtonIconClick();
    void SpeedButtonIcoTemaClick();
    void SpeedButtonDelRtfClick();
    void SpeedButtonDelSongClick();
    void SpeedButtonDelIconClick();
    void SpeedButtonIcotemadelClick();

    void ScrollBarVolChange();
    void CheckBoxVolumeOnClick();

    void BitBtnOKClick();
    void BitBtnEscClick();
    /** Creates the kit file named in Editfile and makes it the current kit. */
    void SpeedButtonNewClick();

    /** The paths being edited; "-" is no file. */
    const QString &EditTextFileName() const { return m_editTextFileName; }
    const QString &EditSongFileName() const { return m_editSongFileName; }
    const QString &EditIconFileName() const { return m_editIconFileName; }
    const QString &EditTemaIconFileName() const { return m_editTemaIconFileName; }

    /** However the dialog closes, the editor rests in song mode afterwards. */
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUpControls();
    void connectHandlers();
    void openSong();
    void openTheme();
    void openNewFile();
    /** Shows the entry's icon on a preview when the file exists; otherwise the preview keeps its
     * glyph. */
    void loadPreviewGlyph(platform::SpeedButton *preview, const QString &path);
    void writeSongEntry(const platform::IniFile &kitFile);
    void writeThemeEntry(const platform::IniFile &kitFile);
    /** Writes a path key when its value is "-" or an existing file; otherwise warns and keeps the
     * key. */
    bool writePathKey(const platform::IniFile &kitFile, const QString &section, const QString &key,
                      const QString &path, const QString &warning);
    /** Sets the main window's volume bar; its change handler writes the speaker volume. */
    void setMainVolumeBar(int position);
    void centreOnScreen();

    BaseState &m_state;
    Services m_services;
    TBaseForm &m_baseForm;
    std::unique_ptr<Ui::TEditIniForm> m_ui;
    QCheckBox *m_mainVolumeOn = nullptr;
    QScrollBar *m_mainVolumeBar = nullptr;

    QString m_editTextFileName;
    QString m_editSongFileName;
    QString m_editIconFileName;
    QString m_editTemaIconFileName;

    platform::FileDialogOptions m_openDialogText;
    platform::FileDialogOptions m_openDialogSong;
    platform::FileDialogOptions m_openPictureDialog;
};
