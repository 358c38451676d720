#include "app/tzastform.h"

#include "kit/kitformat.h"
#include "platform/errorboundary.h"
#include "platform/picture/picture.h"
#include "platform/winpath.h"
#include "ui_tzastform.h"

#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>

TZastForm::TZastForm(const Services &services, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      m_services(services), m_ui(std::make_unique<Ui::TZastForm>())
{
    m_ui->setupUi(this);
    setFixedSize(284, 357);
    QPalette navy = palette();
    navy.setColor(QPalette::Window, QColor(0, 0, 0x80));
    setPalette(navy);
    setAutoFillBackground(true);
    m_ui->BitBtn1->hide();
    connect(m_ui->BitBtn1, &QPushButton::clicked, this, m_services.boundary.guard([this] { BitBtn1Click(); }));

    m_timer1.setInterval(2323);
    connect(&m_timer1, &QTimer::timeout, this, m_services.boundary.guard([this] { Timer1Timer(); }));
    m_services.boundary.run([this] { FormCreate(); });
    m_timer1.start();

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

TZastForm::~TZastForm() = default;

void TZastForm::FormCreate()
{
    QPixmap picture(size());
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    QSvgRenderer(QStringLiteral(":/splash.svg")).render(&painter);
    painter.end();
    m_ui->Image1->setPixmap(picture);

    if (m_services.paths.fileExists(kit::folders::Splash))
        m_ui->Image1->setPixmap(QPixmap::fromImage(platform::loadPicture(m_services.paths, kit::folders::Splash)));
}

void TZastForm::Timer1Timer() { reject(); }

void TZastForm::BitBtn1Click() { reject(); }
