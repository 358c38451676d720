#include "about/taboutform.h"

#include "about/aboutformats.h"
#include "platform/errorboundary.h"
#include "platform/inifile.h"
#include "platform/shell/shell.h"
#include "platform/sysinfo/systeminfo.h"
#include "ui_taboutform.h"

#include <QApplication>
#include <QDate>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>

namespace {

const QColor skyBlue(0xA6, 0xCA, 0xF0);
const QColor navy(0, 0, 0x80);
const QColor red(0xFF, 0, 0);
const QColor green(0, 0x80, 0);

const QString unknown = QStringLiteral("Unknown");
const QString processorKey = QStringLiteral("HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0");
const QString currentVersionKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion");

// After SYS INFO the box is this high, with its top edge here; the width stays.
constexpr int enlargedHeight = 631;
constexpr int enlargedTop = 78;

void setTextColor(QLabel *label, const QColor &color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

} // namespace

TAboutForm::TAboutForm(const Services &services, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_services(services), m_ui(std::make_unique<Ui::TAboutForm>())
{
    m_ui->setupUi(this);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, skyBlue);
    setPalette(palette);
    setAutoFillBackground(true);

    m_ui->LabelVersion->setText(
        QStringLiteral("Karvel %1 — December 2026").arg(QLatin1String(KARVEL_VERSION)));
    for (QLabel *link : {m_ui->LabelLogin, m_ui->LabelHTTP}) {
        setTextColor(link, Qt::black);
        link->setMouseTracking(true);
        link->installEventFilter(this);
    }
    // The right column takes the colour of an active window's caption: the desktop's highlight.
    const QColor activeCaption =
        QApplication::palette().color(QPalette::Active, QPalette::Highlight);
    for (QLabel *value : {m_ui->TotalPhys, m_ui->AvailPhys, m_ui->TotalPage, m_ui->AvailPage,
                          m_ui->RegisteredOrganizationLabel, m_ui->RegisteredOwnerLabel,
                          m_ui->WindowsDirLabel, m_ui->ComputerLabel})
        setTextColor(value, activeCaption);
    m_ui->BitBtnClose->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    platform::ErrorBoundary &boundary = m_services.boundary;
    connect(m_ui->BitBtnClose, &QPushButton::clicked, this,
            boundary.guard([this] { BitBtnCloseClick(); }));
    connect(m_ui->SpeedButtonMore, &QPushButton::clicked, this,
            boundary.guard([this] { SpeedButtonMoreClick(); }));
    m_timerFlesh.setInterval(300);
    connect(&m_timerFlesh, &QTimer::timeout, this, boundary.guard([this] { TimerFleshTimer(); }));
    m_timerFlesh.start();
}

TAboutForm::~TAboutForm() = default;

QString TAboutForm::mailTarget()
{
    return QStringLiteral("mailto:karvel@example.org");
}

QString TAboutForm::webTarget()
{
    return QStringLiteral("https://karvel.example.org/");
}

void TAboutForm::FormShow()
{
    GetMemoryInfo();
    GetCompInfo();
}

void TAboutForm::FormActivate()
{
    GetInfo();
    driveValues();
}

void TAboutForm::GetMemoryInfo()
{
    const platform::MemoryStatus status = m_services.system.memoryStatus();
    m_ui->TotalPhys->setText(aboutformats::memory(status.totalPhys));
    m_ui->AvailPhys->setText(aboutformats::memory(status.availPhys));
    m_ui->TotalPage->setText(aboutformats::memory(status.totalPageFile));
    m_ui->AvailPage->setText(aboutformats::memory(status.availPageFile));
}

void TAboutForm::GetCompInfo()
{
    m_ui->ComputerLabel->setText(
        platform::IniFile(m_services.profiles, QStringLiteral("System.ini"))
            .readString(u"boot.description", u"system.drv", unknown));

    m_ui->ProcessorLabel->setText(registryValue(processorKey, QStringLiteral("Identifier")));
    m_ui->MMXIdentifierLabel->setText(registryValue(processorKey, QStringLiteral("MMXIdentifier")));
    m_ui->VendorIdentifierLabel->setText(
        registryValue(processorKey, QStringLiteral("VendorIdentifier")));

    if (const auto record = m_services.system.versionEx()) {
        m_ui->VersionLabel->setText(aboutformats::subVersion(*record));
        m_ui->VersionNumberLabel->setText(aboutformats::platformName(record->platformId));
    }

    m_ui->OSNameLabel->setText(registryValue(currentVersionKey, QStringLiteral("ProductName")));
    m_ui->RegisteredOrganizationLabel->setText(
        registryValue(currentVersionKey, QStringLiteral("RegisteredOrganization")));
    m_ui->RegisteredOwnerLabel->setText(
        registryValue(currentVersionKey, QStringLiteral("RegisteredOwner")));
    m_ui->SerNumberEdit->setText(registryValue(currentVersionKey, QStringLiteral("ProductId")));

    // The Windows folder API fills at most 255 characters.
    m_ui->WindowsDirLabel->setText(m_services.system.windowsDirectory().left(255));
}

void TAboutForm::GetInfo()
{
    const quint32 version = m_services.system.version();
    m_ui->LabelWinVer->setText(aboutformats::windowsVersion(version));
    m_ui->LabelDosVer->setText(aboutformats::dosVersion(version));
    m_ui->LabelTipCPU->setText(aboutformats::processorName(m_services.system.processorLevel()));
}

void TAboutForm::driveValues()
{
    struct DriveLabels
    {
        char letter;
        QLabel *serial, *free, *size;
    };
    const DriveLabels drives[] = {
        {'C', m_ui->LabelHDD_C, m_ui->LabelDiskFreeC, m_ui->LabelDiskSizeC},
        {'D', m_ui->LabelHDD_D, m_ui->LabelDiskFreeD, m_ui->LabelDiskSizeD},
        {'E', m_ui->LabelHDD_E, m_ui->LabelDiskFreeE, m_ui->LabelDiskSizeE},
    };
    for (const DriveLabels &drive : drives) {
        const QChar letter = QLatin1Char(drive.letter);
        // A drive whose volume cannot be read keeps the serial number it showed before.
        if (const auto serial = m_services.system.volumeSerial(letter))
            drive.serial->setText(aboutformats::serialNumber(*serial));
        const platform::DiskSpace space = m_services.system.diskSpace(letter);
        drive.free->setText(aboutformats::megabytes(space.freeBytes));
        drive.size->setText(aboutformats::megabytes(space.totalBytes));
    }
}

void TAboutForm::BitBtnCloseClick()
{
    accept();
}

void TAboutForm::SpeedButtonMoreClick()
{
    // The height and top count the window's frame, as the box's outer size does on the desktop.
    const int frame = frameGeometry().height() - height();
    resize(width(), enlargedHeight - frame);
    move(frameGeometry().left(), enlargedTop);
}

void TAboutForm::LabelLoginMouseMove()
{
    linkHover(m_ui->LabelLogin);
}

void TAboutForm::LabelLoginMouseLeave()
{
    setTextColor(m_ui->LabelLogin, navy);
}

void TAboutForm::LabelLoginClick()
{
    linkClick(m_ui->LabelLogin, mailTarget());
}

void TAboutForm::LabelHTTPMouseMove()
{
    linkHover(m_ui->LabelHTTP);
}

void TAboutForm::LabelHTTPMouseLeave()
{
    setTextColor(m_ui->LabelHTTP, navy);
}

void TAboutForm::LabelHTTPClick()
{
    linkClick(m_ui->LabelHTTP, webTarget());
}

void TAboutForm::TimerFleshTimer()
{
    // Flashing a hidden window would only make the task bar blink for nothing.
    if (isVisible())
        QApplication::alert(this);
    m_ui->LabelTusday->setText(
        QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
}

void TAboutForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    m_services.boundary.run([this] { FormShow(); });
    m_services.boundary.run([this] { FormActivate(); });
}

void TAboutForm::keyPressEvent(QKeyEvent *event)
{
    // The box has no close box and no cancel button: Escape does not close it, OK (or Enter) does.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TAboutForm::eventFilter(QObject *watched, QEvent *event)
{
    const bool login = watched == m_ui->LabelLogin;
    if (!login && watched != m_ui->LabelHTTP)
        return QDialog::eventFilter(watched, event);
    auto *label = static_cast<QLabel *>(watched);
    switch (event->type()) {
    case QEvent::MouseMove:
        m_services.boundary.run([&] { login ? LabelLoginMouseMove() : LabelHTTPMouseMove(); });
        break;
    case QEvent::Leave:
        m_services.boundary.run([&] { login ? LabelLoginMouseLeave() : LabelHTTPMouseLeave(); });
        break;
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton &&
            label->rect().contains(mouse->position().toPoint()))
            m_services.boundary.run([&] { login ? LabelLoginClick() : LabelHTTPClick(); });
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutForm::linkHover(QLabel *link)
{
    setTextColor(link, red);
    link->setCursor(Qt::PointingHandCursor);
}

void TAboutForm::linkClick(QLabel *link, const QString &target)
{
    setTextColor(link, green);
    m_services.shell.open(target);
    setTextColor(link, green);
}

QString TAboutForm::registryValue(const QString &key, const QString &name) const
{
    return m_services.system.registryString(key, name).value_or(unknown);
}
