// The button editor's window: its controls, the opening in each mode, the live preview, the
// volume bar mirrored onto the main window's, and closing.

#include "editor/teditiniform.h"

#include "app/captions.h"
#include "app/tbaseform.h"
#include "kit/kitformat.h"
#include "platform/inifile.h"
#include "platform/picture/picture.h"
#include "platform/speedbutton/speedbutton.h"
#include "ui_teditiniform.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>

namespace {

const QString PreviewHint =
    QStringLiteral("Левая кнопка мыши запускает Song, Правая кнопка обновляет данные о Song");

QPixmap glyph(const char *name)
{
    return QPixmap(QStringLiteral(":/editor/%1.svg").arg(QLatin1String(name)));
}

// The main window's control of that name, not the editor's own of the same name: the editor is
// itself a child of the main window.
template <typename Control> Control *mainControl(QWidget &baseForm, const char *name)
{
    for (Control *control : baseForm.findChildren<Control *>(QLatin1String(name))) {
        if (control->window() == &baseForm)
            return control;
    }
    return nullptr;
}

} // namespace

TEditIniForm::TEditIniForm(BaseState &state, const Services &services, TBaseForm &baseForm,
                           QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      m_state(state), m_services(services), m_baseForm(baseForm),
      m_ui(std::make_unique<Ui::TEditIniForm>())
{
    m_ui->setupUi(this);
    m_mainVolumeOn = mainControl<QCheckBox>(baseForm, "CheckBoxVolumeOn");
    m_mainVolumeBar = mainControl<QScrollBar>(baseForm, "ScrollBarVolume");
    setUpControls();
    connectHandlers();
    m_services.boundary.run([this] { FormCreate(); });
}

TEditIniForm::~TEditIniForm() = default;

void TEditIniForm::setUpControls()
{
    QPalette cream = palette();
    cream.setColor(QPalette::Window, QColor(0xFF, 0xFB, 0xF0));
    setPalette(cream);
    setAutoFillBackground(true);

    const auto setGlyph = [](platform::SpeedButton *button, const char *name, bool hand = true) {
        button->setGlyph(glyph(name));
        button->setHandCursor(hand);
    };
    setGlyph(m_ui->SpeedButtonNew, "create", false);
    m_ui->SpeedButtonNew->setSpacing(2); // "CreateFile" fills its narrow button
    setGlyph(m_ui->SpeedButtonIcoTema, "open");
    setGlyph(m_ui->SpeedButtonIcotemadel, "clear");
    setGlyph(m_ui->SpeedButtonIcon, "open");
    setGlyph(m_ui->SpeedButtonDelIcon, "clear");
    setGlyph(m_ui->SpeedButtonOpenText, "open");
    setGlyph(m_ui->SpeedButtonDelRtf, "clear");
    setGlyph(m_ui->SpeedButtonOpenSong, "open");
    setGlyph(m_ui->SpeedButtonDelSong, "clear");

    // The previews start with the board's own built-in glyphs of a song and a theme button.
    m_ui->SpeedButtonSongTemp->setGlyph(QPixmap(QStringLiteral(":/glyphs/song.svg")));
    m_ui->SpeedButtonTempTema->setGlyph(QPixmap(QStringLiteral(":/glyphs/theme.svg")));
    for (platform::SpeedButton *preview : {m_ui->SpeedButtonSongTemp, m_ui->SpeedButtonTempTema}) {
        preview->setMargin(1);
        preview->setSpacing(2);
        preview->setHandCursor(true);
        preview->setToolTip(PreviewHint);
    }

    m_ui->BitBtnOK->setIcon(glyph("ok"));
    m_ui->BitBtnEsc->setIcon(glyph("cancel"));
    m_ui->BitBtn1->setIcon(glyph("cancel"));

    m_openDialogText = {QStringLiteral("RTF files|*.rtf"), kit::folders::Texts, QString()};
    m_openDialogSong = {QStringLiteral("mp3|*.mp3|wav|*.wav|midi|*.mid|all|*.*"),
                        kit::folders::Songs, QString()};
    m_openPictureDialog = {QStringLiteral("Bitmaps (*.bmp)|*.bmp"), kit::folders::Icons, QString()};
}

void TEditIniForm::connectHandlers()
{
    const auto onClick = [this](QAbstractButton *button, void (TEditIniForm::*handler)()) {
        connect(button, &QAbstractButton::clicked, this,
                m_services.boundary.guard([this, handler] { (this->*handler)(); }));
    };
    onClick(m_ui->SpeedButtonOpenText, &TEditIniForm::SpeedButtonOpenTextClick);
    onClick(m_ui->SpeedButtonOpenSong, &TEditIniForm::SpeedButtonOpenSongClick);
    onClick(m_ui->SpeedButtonIcon, &TEditIniForm::SpeedButtonIconClick);
    onClick(m_ui->SpeedButtonIcoTema, &TEditIniForm::SpeedButtonIcoTemaClick);
    onClick(m_ui->SpeedButtonDelRtf, &TEditIniForm::SpeedButtonDelRtfClick);
    onClick(m_ui->SpeedButtonDelSong, &TEditIniForm::SpeedButtonDelSongClick);
    onClick(m_ui->SpeedButtonDelIcon, &TEditIniForm::SpeedButtonDelIconClick);
    onClick(m_ui->SpeedButtonIcotemadel, &TEditIniForm::SpeedButtonIcotemadelClick);
    onClick(m_ui->SpeedButtonNew, &TEditIniForm::SpeedButtonNewClick);
    onClick(m_ui->BitBtnOK, &TEditIniForm::BitBtnOKClick);
    onClick(m_ui->BitBtnEsc, &TEditIniForm::BitBtnEscClick);
    onClick(m_ui->BitBtn1, &TEditIniForm::BitBtnEscClick);

    connect(m_ui->ScrollBarVol, &QScrollBar::valueChanged, this,
            m_services.boundary.guard([this] { ScrollBarVolChange(); }));
    // A check box's click handler also runs when its state is set from code, so it follows toggled.
    connect(m_ui->CheckBoxVolumeOn, &QCheckBox::toggled, this,
            m_services.boundary.guard([this] { CheckBoxVolumeOnClick(); }));

    m_ui->EditNameButton->installEventFilter(this);
    m_ui->EditTemaButton->installEventFilter(this);
}

void TEditIniForm::FormCreate()
{
    resize(550, 550);
}

void TEditIniForm::FormActivate()
{
    if (m_state.EditMode == 1)
        openSong();
    else if (m_state.EditMode == 2)
        openTheme();
    else
        openNewFile();
    if (m_mainVolumeOn) {
        const bool together = m_mainVolumeOn->isChecked();
        m_services.boundary.fire([&] { m_ui->CheckBoxVolumeOn->setChecked(together); });
    }
    resize(550, 550);
    centreOnScreen();

    // The preview's icon comes last: a file that is no loadable bitmap ends the opening with
    // its error, and the fields must by then hold this entry, not the one edited before, or OK
    // would write that one's caption into this entry.
    if (m_state.EditMode == 1)
        loadPreviewGlyph(m_ui->SpeedButtonSongTemp, m_editIconFileName);
    else if (m_state.EditMode == 2)
        loadPreviewGlyph(m_ui->SpeedButtonTempTema, m_editTemaIconFileName);
}

void TEditIniForm::loadPreviewGlyph(platform::SpeedButton *preview, const QString &path)
{
    if (m_services.paths.fileExists(path))
        preview->setGlyph(QPixmap::fromImage(platform::loadBitmap(m_services.paths, path)));
}

void TEditIniForm::openSong()
{
    m_ui->GroupBoxSong->show();
    m_ui->GroupBoxTema->hide();
    m_ui->GroupBoxFile->hide();

    const int song = m_state.SongNumber;
    const QString &section = m_state.SectionName;
    const kit::SongKeys keys = kit::songKeys(song);
    const kit::SongDefaults defaults = kit::editorSongDefaults(song);
    const platform::IniFile kitFile(m_services.profiles, m_state.KitFileName);
    m_state.SongCaption = kitFile.readString(section, keys.caption, defaults.caption);
    m_editTextFileName = kitFile.readString(section, keys.text, defaults.text);
    m_editSongFileName = kitFile.readString(section, keys.song, defaults.song);
    m_editIconFileName = kitFile.readString(section, keys.icon, defaults.icon);
    m_state.IconFileName = kitFile.readString(section, keys.icon, defaults.icon);
    const int volume = kitFile.readInteger(section, keys.volume, defaults.volume);
    m_services.boundary.fire([&] { m_ui->ScrollBarVol->setValue(volume); });

    if (m_mainVolumeOn && m_mainVolumeOn->isChecked())
        setMainVolumeBar(m_ui->ScrollBarVol->value());

    setCaption(m_ui->LabelNameRtf, m_editTextFileName);
    setCaption(m_ui->LabelNameSong, m_editSongFileName);
    setCaption(m_ui->LabelIcon, m_editIconFileName);
    m_ui->EditNameButton->setText(m_state.SongCaption);
    m_ui->SpeedButtonSongTemp->setText(m_state.SongCaption);
    setWindowTitle(m_state.KitFileName + QStringLiteral("  Song Button = ") +
                   QString::number(song));
}

void TEditIniForm::openTheme()
{
    m_ui->GroupBoxTema->show();
    m_ui->GroupBoxSong->hide();
    m_ui->GroupBoxFile->hide();

    const int theme = m_state.TemaEditNumber;
    const kit::ThemeKeys keys = kit::themeKeys(theme);
    const kit::ThemeDefaults defaults = kit::editorThemeDefaults(theme);
    const platform::IniFile kitFile(m_services.profiles, m_state.KitFileName);
    m_state.TemaCaption = kitFile.readString(kit::ThemeSection, keys.caption, defaults.caption);
    m_editTemaIconFileName = kitFile.readString(kit::ThemeSection, keys.icon, defaults.icon);

    setCaption(m_ui->LabelIcoTema, m_editTemaIconFileName);
    m_ui->SpeedButtonTempTema->setText(m_state.TemaCaption);
    m_ui->EditTemaButton->setText(m_state.TemaCaption);
    setWindowTitle(m_state.KitFileName + QStringLiteral("  Tema Button = ") +
                   QString::number(theme));
}

void TEditIniForm::openNewFile()
{
    m_ui->GroupBoxFile->show();
    m_ui->GroupBoxTema->hide();
    m_ui->GroupBoxSong->hide();
    m_ui->Editfile->setText(kit::folders::NewKit);
    setWindowTitle(m_state.KitFileName);
}

void TEditIniForm::EditNameButtonKeyUp()
{
    m_ui->SpeedButtonSongTemp->setText(m_ui->EditNameButton->text());
}

void TEditIniForm::EditTemaButtonKeyUp()
{
    m_ui->SpeedButtonTempTema->setText(m_ui->EditTemaButton->text());
}

void TEditIniForm::ScrollBarVolChange()
{
    const int position = m_ui->ScrollBarVol->value();
    if (m_mainVolumeOn && m_mainVolumeOn->isChecked())
        setMainVolumeBar(position);
    setCaption(m_ui->LabelVol, QString::number(position));
}

void TEditIniForm::CheckBoxVolumeOnClick()
{
    if (m_mainVolumeOn)
        m_mainVolumeOn->setChecked(m_ui->CheckBoxVolumeOn->isChecked());
}

void TEditIniForm::BitBtnEscClick()
{
    m_state.EditMode = 1;
    reject();
}

void TEditIniForm::done(int result)
{
    m_state.EditMode = 1;
    QDialog::done(result);
}

void TEditIniForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // A window restored from the task bar is shown again by the window system: that is no
    // new opening, and reloading would throw away what the user typed.
    if (!event->spontaneous())
        m_services.boundary.run([this] { FormActivate(); });
}

bool TEditIniForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease) {
        if (watched == m_ui->EditNameButton)
            m_services.boundary.run([this] { EditNameButtonKeyUp(); });
        else if (watched == m_ui->EditTemaButton)
            m_services.boundary.run([this] { EditTemaButtonKeyUp(); });
    }
    return QDialog::eventFilter(watched, event);
}

void TEditIniForm::setMainVolumeBar(int position)
{
    if (m_mainVolumeBar)
        m_services.boundary.fire([&] { m_mainVolumeBar->setValue(position); });
}

void TEditIniForm::centreOnScreen()
{
    const QScreen *shownOn = screen();
    if (!shownOn)
        return;
    const QRect area = shownOn->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}
