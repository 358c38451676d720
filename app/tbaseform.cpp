#include "app/tbaseform.h"

#include "about/taboutform.h"
#include "app/captions.h"
#include "app/tzastform.h"
#include "editor/teditiniform.h"
#include "kit/boardbuttons.h"
#include "kit/kitformat.h"
#include "platform/errorboundary.h"
#include "platform/picture/transparency.h"
#include "platform/richtext/richtextedit.h"
#include "platform/speedbutton/speedbutton.h"
#include "platform/winpath.h"
#include "ui_tbaseform.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

namespace {

const QColor teal(0, 0x80, 0x80);
const QColor cream(0xFF, 0xFB, 0xF0);
const QColor navy(0, 0, 0x80);

// "LcdD", bold, narrowed to the width its digits have on Windows.
QFont displayFont(int pixels)
{
    QFont font(QStringLiteral("LcdD"));
    font.setPixelSize(pixels);
    font.setBold(true);
    font.setStretch(58);
    return font;
}

QPixmap glyph(const char *name) { return QPixmap(QStringLiteral(":/glyphs/%1.svg").arg(QLatin1String(name))); }

} // namespace

TBaseForm::TBaseForm(BaseState &state, const Services &services, QWidget *parent)
    : QWidget(parent), m_state(state), m_services(services), m_ui(std::make_unique<Ui::TBaseForm>())
{
    m_ui->setupUi(this);
    setUpControls();
    buildBoard();
    connectHandlers();
    m_services.boundary.run([this] { FormCreate(); });
}

TBaseForm::~TBaseForm() { m_services.boundary.run([this] { FormDestroy(); }); }

void TBaseForm::setOtherWindows(TAboutForm *about, TEditIniForm *editor, TZastForm *splash)
{
    m_aboutForm = about;
    m_editIniForm = editor;
    m_zastForm = splash;
}

void TBaseForm::setUpControls()
{
    QFont formFont(QStringLiteral("MS Sans Serif"));
    formFont.setPixelSize(11);
    setFont(formFont);
    setWindowIcon(QIcon(QStringLiteral(":/karvel.svg")));
    setAutoFillBackground(true);
    QPalette windowPalette = palette();
    windowPalette.setColor(QPalette::Window, teal);
    setPalette(windowPalette);

    QPalette boardPalette = m_ui->GroupBoxSong->palette();
    boardPalette.setColor(QPalette::Window, QColor(0xC0, 0xDC, 0xC0)); // money green
    m_ui->GroupBoxSong->setPalette(boardPalette);
    QPalette optionPalette = m_ui->GroupBoxOption->palette();
    optionPalette.setColor(QPalette::Window, Qt::white);
    m_ui->GroupBoxOption->setPalette(optionPalette);

    // The speed buttons of the top row: their groups, glyphs and pointer.
    struct Fixed
    {
        platform::SpeedButton *button;
        int group;
        bool allowAllUp;
        const char *glyph;
    };
    const Fixed fixed[] = {
        {m_ui->SpeedButtonOpenText, 0, false, "opentext"}, {m_ui->SpeedButtonOpenSong, 0, false, "opensong"},
        {m_ui->SpeedButtonNewFile, 0, false, "newfile"},   {m_ui->SpeedButtonHelp, 0, false, "help"},
        {m_ui->SpeedButtonFileIniOpen, 2, false, nullptr}, {m_ui->SpeedButtonToSong, 2, false, nullptr},
        {m_ui->SpeedButtonToText, 2, false, nullptr},      {m_ui->SpeedButtonBegin, 0, false, "begin"},
        {m_ui->SpeedButtonPlay, 1024, true, "play"},       {m_ui->SpeedButtonOption, 372, true, "option"},
        {m_ui->SpeedButtonFadeOut, 564, true, "fadeout"},  {m_ui->SpeedButtonFadeIn, 563, true, "fadein"},
    };
    for (const Fixed &entry : fixed) {
        entry.button->setGroupIndex(entry.group);
        entry.button->setAllowAllUp(entry.allowAllUp);
        if (entry.glyph)
            entry.button->setGlyph(glyph(entry.glyph));
    }
    for (platform::SpeedButton *button :
         {m_ui->SpeedButtonFileIniOpen, m_ui->SpeedButtonToSong, m_ui->SpeedButtonToText, m_ui->SpeedButtonOption,
          m_ui->SpeedButtonFadeOut, m_ui->SpeedButtonFadeIn})
        button->setHandCursor(true);

    // The seven-segment display font is set here: a style sheet cannot narrow a font.
    for (QLabel *label : {m_ui->LabelSongTimeBeg, m_ui->LabelSongTimeEnd, m_ui->LabelSongLeghtTime})
        label->setFont(displayFont(27));
    for (QLabel *label : {m_ui->LabelVol, m_ui->LabelVolume})
        label->setFont(displayFont(21));

    m_ui->ImageIcon->setPixmap(glyph("icon"));
    m_ui->ImageIcon->setAttribute(Qt::WA_TranslucentBackground);

    // The text pane, over the board until start-up places and hides it.
    m_richEdit = new platform::RichTextEdit(m_services.paths, this);
    m_richEdit->setObjectName(QStringLiteral("RichEdit"));
    m_richEdit->setGeometry(182, 232, 403, 81);
    QFont paneFont(QStringLiteral("MS Sans Serif"));
    paneFont.setPixelSize(16);
    paneFont.setBold(true);
    m_richEdit->setFont(paneFont);
    QPalette panePalette = m_richEdit->palette();
    panePalette.setColor(QPalette::Base, cream);
    panePalette.setColor(QPalette::Text, navy);
    m_richEdit->setPalette(panePalette);
    m_richEdit->setPlainText(QStringLiteral("текста нет"));
    m_richEdit->raise();
    m_ui->GroupBoxOption->raise();

    // The file dialogs: filters, initial folder and preset name; each keeps its last choice.
    m_openDialogIniFile = {QStringLiteral("Files of Orbelan   *.qbk|*.qbk"), kit::folders::Kits, kit::folders::DefaultKit};
    m_openDialogText.filter = QStringLiteral("RTF files|*.rtf");
    m_openDialogSong.filter = QStringLiteral("mp3|*.mp3|wav|*.wav|midi|*.mid|all|*.*");

    m_timerZast.setInterval(200);
    m_timerPlay.setInterval(500);
    m_timerPlay.start();
    m_timerMp3rpt.setInterval(4000);
    m_timerFader.setInterval(250);
    m_timerFader.start();
}

void TBaseForm::buildBoard() { buildBoardButtons(m_ui->GroupBoxSong, m_temaButtons, m_songButtons); }

void TBaseForm::connectHandlers()
{
    platform::ErrorBoundary &boundary = m_services.boundary;
    connect(&m_timerZast, &QTimer::timeout, this, boundary.guard([this] { TimerZastTimer(); }));
    connect(m_ui->SpeedButtonHelp, &platform::SpeedButton::clicked, this,
            boundary.guard([this] { SpeedButtonHelpClick(); }));
    connect(m_ui->SpeedButtonFileIniOpen, &platform::SpeedButton::clicked, this,
            boundary.guard([this] { SpeedButtonFileIniOpenClick(); }));
    connect(m_ui->SpeedButtonNewFile, &platform::SpeedButton::clicked, this,
            boundary.guard([this] { SpeedButtonNewFileClick(); }));
    for (int theme = 1; theme <= kit::ThemeCount; ++theme) {
        platform::SpeedButton *button = m_temaButtons[theme];
        connect(button, &platform::SpeedButton::clicked, this,
                boundary.guard([this, theme] { SpeedButtonTemaClick(theme); }));
        connect(button, &platform::SpeedButton::mouseDown, this,
                boundary.guard([this, theme](Qt::MouseButton pressed, Qt::KeyboardModifiers, QPoint) {
                    SpeedButtonTemaMouseDown(theme, pressed);
                }));
    }
    connect(m_ui->ScrollBarRed, &QScrollBar::valueChanged, this, boundary.guard([this] { ScrollBarRedChange(); }));
    connect(m_ui->ScrollBarGreen, &QScrollBar::valueChanged, this, boundary.guard([this] { ScrollBarGreenChange(); }));
    connect(m_ui->ScrollBarBlue, &QScrollBar::valueChanged, this, boundary.guard([this] { ScrollBarBlueChange(); }));
    connect(m_ui->CheckBoxButtonBegin, &QCheckBox::toggled, this, boundary.guard([this] { CheckBoxButtonBeginClick(); }));
    connect(m_ui->SpeedButtonOption, &platform::SpeedButton::clicked, this,
            boundary.guard([this] { SpeedButtonOptionClick(); }));
    connectPlaybackHandlers();
}

// The bounds the window has while it is created: maximised, it fills the screen's work area.
QRect TBaseForm::creationBounds() const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(203, 117, 814, 566);
}

void TBaseForm::setStatus(const QString &caption) { setCaption(m_ui->LabelStatus, caption); }

void TBaseForm::appendStatus(const QString &text) { setStatus(m_ui->LabelStatus->text() + text); }

void TBaseForm::setVolumeBar(int position)
{
    m_services.boundary.fire([&] { m_ui->ScrollBarVolume->setValue(position); });
}

void TBaseForm::setTrackBar(int position)
{
    m_services.boundary.fire([&] { m_ui->TrackBarSong->setValue(position); });
}

void TBaseForm::setBoardCaption(const QString &caption) { m_ui->GroupBoxSong->setTitle(caption); }

void TBaseForm::setIcon(const QImage &picture)
{
    m_ui->ImageIcon->setPixmap(QPixmap::fromImage(platform::bottomLeftTransparent(picture)));
}

void TBaseForm::FormCreate()
{
    m_state.KitFileName = kit::folders::DefaultKit;

    const QRect bounds = creationBounds();
    m_ui->GroupBoxSong->move((bounds.width() - m_ui->GroupBoxSong->width()) / 2, m_ui->GroupBoxSong->y());

    ReadSettings();
    ApplyColour();

    if (m_services.paths.fileExists(m_state.KitFileName)) {
        ReturnNameButtonSong();
        ReturnNameButtonTema();
        setBoardCaption(m_state.KitFileName);
    } else {
        setStatus(kit::MissingKitStatus);
        setBoardCaption(QStringLiteral("No File  ") + m_state.KitFileName);
    }

    m_timerZast.start();
    setWindowTitle(u' ' + m_state.KitFileName);

    MixerSetUp();

    m_richEdit->setGeometry(bounds.left() + 25, 88, bounds.width() - 50, bounds.height() - 128);
    m_richEdit->hide();

    m_temaButtons[1]->setDown(true);
    m_state.TemaNumber = 1;
    JobTema(1);
}

void TBaseForm::FormDestroy()
{
    setVolumeBar(1);
    WriteSettings();
    MixerClose();
}

void TBaseForm::FormResize()
{
    // Nothing follows the window's size: the board and the text pane stay where start-up put them.
}

void TBaseForm::TimerZastTimer()
{
    m_timerZast.stop();
    if (m_zastForm)
        m_zastForm->exec();
}

void TBaseForm::SpeedButtonHelpClick()
{
    if (m_aboutForm)
        m_aboutForm->exec();
}

void TBaseForm::closeEvent(QCloseEvent *event)
{
    // Closing the main window ends the program, whatever other window is open.
    event->accept();
    QCoreApplication::quit();
}

void TBaseForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_services.boundary.run([this] { FormResize(); });
}
