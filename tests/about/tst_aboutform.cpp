#include "about/taboutform.h"
#include "platform/speedbutton/speedbutton.h"
#include "support/programfixture.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <functional>

namespace {

const QString processorKey = QStringLiteral("HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0");
const QString currentVersionKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion");

const QColor navy(0, 0, 0x80);
const QColor red(0xFF, 0, 0);
const QColor green(0, 0x80, 0);

/** The program started on a temporary drive, with the splash timer stopped so only the box opens.
 */
class AboutFixture : public ProgramFixture
{
public:
    AboutFixture()
    {
        start();
        base().TimerZast().stop();
    }

    TAboutForm &about() { return program->AboutForm; }
    QString text(const char *label)
    {
        return about().findChild<QLabel *>(QLatin1String(label))->text();
    }
    QColor color(const char *label)
    {
        return about()
            .findChild<QLabel *>(QLatin1String(label))
            ->palette()
            .color(QPalette::WindowText);
    }

    /**
     * Opens the box with the main window's About button; `whileOpen` runs inside its modal loop,
     * then OK closes the box. Returns whether the box was open and modal at that moment.
     */
    bool open(const std::function<void()> &whileOpen = {})
    {
        bool modal = false;
        QTimer::singleShot(0, &about(), [&] {
            modal = QApplication::activeModalWidget() == &about();
            if (whileOpen)
                whileOpen();
            if (about().isVisible())
                QTest::mouseClick(about().findChild<QPushButton *>(QStringLiteral("BitBtnClose")),
                                  Qt::LeftButton);
        });
        QTest::mouseClick(find<platform::SpeedButton>("SpeedButtonHelp"), Qt::LeftButton);
        return modal && !about().isVisible();
    }
};

void hover(QWidget *label)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), label->mapToGlobal(QPointF(3, 3)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(label, &move);
}

void leave(QWidget *label)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(label, &event);
}

} // namespace

class TestAboutForm : public QObject
{
    Q_OBJECT

private slots:
    void frameAtCreation();
    void controlsWhereTheLayoutPutsThem_data();
    void controlsWhereTheLayoutPutsThem();
    void panelColumnsHaveTheirColours();
    void showsTheSystemFiguresWhenOpened();
    void missingValuesShowUnknownAndKeepPlaceholders();
    void everyOpeningReadsTheSystemAfresh();
    void sysInfoEnlargesTheBoxForTheRestOfTheRun();
    void linksChangeColourAndOpenTheShell_data();
    void linksChangeColourAndOpenTheShell();
    void flashTimerRunsAllTheTimeAndShowsToday();
    void onlyOkOrEnterClosesTheBox();
};

void TestAboutForm::frameAtCreation()
{
    // The box is created once with its caption, sky blue colour, 395 by 244 client area and no
    // close button.
    AboutFixture f;
    TAboutForm &about = f.about();
    QVERIFY(!about.isVisible());
    QCOMPARE(about.windowTitle(), QString::fromUtf8("О программе"));
    QCOMPARE(about.size(), QSize(395, 244));
    QCOMPARE(about.geometry().center(),
             QGuiApplication::primaryScreen()->availableGeometry().center());
    QCOMPARE(about.palette().color(QPalette::Window), QColor(0xA6, 0xCA, 0xF0));
    QVERIFY(!(about.windowFlags() & Qt::WindowCloseButtonHint));
    QVERIFY(!(about.windowFlags() & Qt::WindowSystemMenuHint));
    QCOMPARE(about.font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(about.font().pointSize(), 8);
    QVERIFY(about.findChild<QPushButton *>(QStringLiteral("BitBtnClose"))->isDefault());
    QVERIFY(QRegularExpression(QStringLiteral("^Karvel \\d+\\.\\d+(\\.\\d+)* — December 2026$"))
                .match(f.text("LabelVersion"))
                .hasMatch());
    QVERIFY(!f.about().findChild<QLabel *>(QStringLiteral("Image2"))->pixmap().isNull());
    QVERIFY(!f.about().findChild<QLabel *>(QStringLiteral("Image1"))->pixmap().isNull());
}

void TestAboutForm::controlsWhereTheLayoutPutsThem_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<QString>("text");
    QTest::newRow("LabelLogin") << "LabelLogin" << QPoint(24, 64) << "karvel@example.org ";
    QTest::newRow("LabelHTTP")
        << "LabelHTTP" << QPoint(24, 84)
        << QString::fromUtf8("Новая версия программы и дополнительная информация на сайте  "
                             "karvel.example.org");
    QTest::newRow("SpeedButtonMore") << "SpeedButtonMore" << QPoint(293, 196) << " SYS INFO";
    QTest::newRow("BitBtnClose") << "BitBtnClose" << QPoint(293, 154) << "OK";
    QTest::newRow("Image2") << "Image2" << QPoint(248, 8) << "";
    QTest::newRow("OSNameLabel") << "OSNameLabel" << QPoint(216, 242) << "0";
    QTest::newRow("VersionLabel") << "VersionLabel" << QPoint(216, 272) << "0      ";
    QTest::newRow("LabelHDD_C") << "LabelHDD_C" << QPoint(216, 454) << "0 ";
    QTest::newRow("LabelHDD_E") << "LabelHDD_E" << QPoint(216, 562) << "0 ";
    QTest::newRow("TotalPhys") << "TotalPhys" << QPoint(640, 24) << "0";
    QTest::newRow("ComputerLabel") << "ComputerLabel" << QPoint(640, 224) << "0";
    QTest::newRow("LabelTusday") << "LabelTusday" << QPoint(504, 464)
                                 << QString::fromUtf8("Сегодня");
}

void TestAboutForm::controlsWhereTheLayoutPutsThem()
{
    // Each control lies where the box's layout puts it, with its design-time text.
    QFETCH(QString, name);
    QFETCH(QPoint, position);
    QFETCH(QString, text);
    AboutFixture f;
    QWidget *control = f.about().findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget()->objectName(), QStringLiteral("Canvas"));
    QCOMPARE(control->pos(), position);
    if (auto *label = qobject_cast<QLabel *>(control))
        QCOMPARE(label->text(), text);
    else
        QCOMPARE(static_cast<QPushButton *>(control)->text(), text);
}

void TestAboutForm::panelColumnsHaveTheirColours()
{
    // The version rows are navy, the processor rows green, the drive rows plain, the right column
    // the caption colour.
    AboutFixture f;
    const QColor caption = QApplication::palette().color(QPalette::Active, QPalette::Highlight);
    const QColor plain = f.color("Label1");
    QCOMPARE(f.color("OSNameLabel"), navy);
    QCOMPARE(f.color("LabelDosVer"), navy);
    QCOMPARE(f.color("VendorIdentifierLabel"), green);
    QCOMPARE(f.color("SerNumberEdit"), green);
    QCOMPARE(f.color("LabelDiskSizeC"), plain);
    QCOMPARE(f.color("LabelHDD_E"), plain);
    QCOMPARE(f.color("TotalPhys"), caption);
    QCOMPARE(f.color("ComputerLabel"), caption);
    QCOMPARE(f.color("LabelTusday"), plain);
}

void TestAboutForm::showsTheSystemFiguresWhenOpened()
{
    // Opening the box fills the memory, computer, version, processor and drive labels in their
    // formats.
    AboutFixture f;
    f.system.memory = {1048576, 1048575, 3u * 1024 * 1024 * 1024, 0};
    f.system.versionWord = 5 | 1 << 8 | 40 << 16 | 10u << 24;
    f.system.versionRecord =
        platform::VersionRecord{5, 1, 2600, QStringLiteral("Service Pack 3"), 2};
    f.system.level = 15;
    f.system.setRegistry(processorKey, QStringLiteral("Identifier"),
                         QStringLiteral("x86 Family 6 Model 142 Stepping 10"));
    f.system.setRegistry(processorKey, QStringLiteral("VendorIdentifier"),
                         QStringLiteral("GenuineIntel"));
    f.system.setRegistry(processorKey, QStringLiteral("MMXIdentifier"), QStringLiteral("MMX"));
    f.system.setRegistry(currentVersionKey, QStringLiteral("ProductName"),
                         QStringLiteral("Debian GNU/Linux 12"));
    f.system.setRegistry(currentVersionKey, QStringLiteral("RegisteredOwner"),
                         QString::fromUtf8("Анна Петрова"));
    f.system.setRegistry(currentVersionKey, QStringLiteral("RegisteredOrganization"),
                         QStringLiteral("Stage Ltd"));
    f.system.setRegistry(currentVersionKey, QStringLiteral("ProductId"),
                         QStringLiteral("12345-OEM-0000001"));
    f.system.disks.insert(QLatin1Char('C'), {40000000000, 2147483648});
    f.system.serials.insert(QLatin1Char('C'), 0x1A2B3C4D);
    f.system.disks.insert(QLatin1Char('E'), {999999, 0});
    f.system.serials.insert(QLatin1Char('E'), 0xC0DE1234);
    f.drive.write(QStringLiteral("C:\\WINDOWS\\SYSTEM.INI"),
                  "[boot.description]\r\nsystem.drv=Stage PC\r\n");

    QVERIFY(f.open());
    const QList<std::pair<const char *, QString>> expected = {
        {"TotalPhys", "1024 K"},
        {"AvailPhys", "1023 K"},
        {"TotalPage", "3145728 K"},
        {"AvailPage", "0 K"},
        {"LabelWinVer", "Windows 5.01"},
        {"LabelDosVer", "DOS 10.40"},
        {"VersionLabel", "5.1 (2600.Service Pack 3)"},
        {"VersionNumberLabel", "Windows NT"},
        {"LabelTipCPU", ""},
        {"ProcessorLabel", "x86 Family 6 Model 142 Stepping 10"},
        {"VendorIdentifierLabel", "GenuineIntel"},
        {"MMXIdentifierLabel", "MMX"},
        {"OSNameLabel", "Debian GNU/Linux 12"},
        {"RegisteredOwnerLabel", QString::fromUtf8("Анна Петрова")},
        {"RegisteredOrganizationLabel", "Stage Ltd"},
        {"SerNumberEdit", "12345-OEM-0000001"},
        {"WindowsDirLabel", "C:\\WINDOWS"},
        {"ComputerLabel", "Stage PC"},
        {"LabelDiskSizeC", "40000 Mb"},
        {"LabelDiskFreeC", "2147 Mb"},
        {"LabelHDD_C", "439041101"},
        {"LabelDiskSizeD", "0 Mb"},
        {"LabelDiskFreeD", "0 Mb"},
        {"LabelHDD_D", "0 "},
        {"LabelDiskSizeE", "0 Mb"},
        {"LabelDiskFreeE", "0 Mb"},
        {"LabelHDD_E", "3235779124"},
    };
    for (const auto &[label, text] : expected)
        QCOMPARE(std::make_pair(label, f.text(label)), std::make_pair(label, text));
    QVERIFY(f.dialogs.shown().isEmpty());
}

void TestAboutForm::missingValuesShowUnknownAndKeepPlaceholders()
{
    // Without registry values or System.ini the labels say "Unknown"; a failed version query keeps
    // its placeholders.
    AboutFixture f;
    f.system.level = 6;
    f.system.versionRecord.reset();
    QVERIFY(f.open());
    for (const char *label :
         {"ComputerLabel", "ProcessorLabel", "MMXIdentifierLabel", "VendorIdentifierLabel",
          "OSNameLabel", "RegisteredOrganizationLabel", "RegisteredOwnerLabel", "SerNumberEdit"})
        QCOMPARE(std::make_pair(label, f.text(label)),
                 std::make_pair(label, QStringLiteral("Unknown")));
    QCOMPARE(f.text("VersionLabel"), QStringLiteral("0      "));
    QCOMPARE(f.text("VersionNumberLabel"), QStringLiteral("0      "));
    QCOMPARE(f.text("LabelTipCPU"), QStringLiteral("Intel Pentium III"));
    QCOMPARE(f.text("LabelHDD_C"), QStringLiteral("0 "));
    QCOMPARE(f.text("LabelDiskSizeC"), QStringLiteral("0 Mb"));
}

void TestAboutForm::everyOpeningReadsTheSystemAfresh()
{
    // A second opening shows the new figures; a drive whose serial can no longer be read keeps the
    // old one.
    AboutFixture f;
    f.system.memory.totalPhys = 2048;
    f.system.serials.insert(QLatin1Char('D'), 77);
    f.system.disks.insert(QLatin1Char('D'), {5000000, 3000000});
    QVERIFY(f.open());
    QCOMPARE(f.text("TotalPhys"), QStringLiteral("2 K"));
    QCOMPARE(f.text("LabelHDD_D"), QStringLiteral("77"));
    QCOMPARE(f.text("LabelDiskFreeD"), QStringLiteral("3 Mb"));

    f.system.memory.totalPhys = 4096;
    f.system.serials.clear();
    f.system.disks.clear();
    f.system.versionRecord = platform::VersionRecord{6, 1, 0x10005, QString(), 7};
    QVERIFY(f.open());
    QCOMPARE(f.text("TotalPhys"), QStringLiteral("4 K"));
    QCOMPARE(f.text("LabelHDD_D"), QStringLiteral("77"));
    QCOMPARE(f.text("LabelDiskFreeD"), QStringLiteral("0 Mb"));
    QCOMPARE(f.text("VersionLabel"), QStringLiteral("6.1 (5.)"));
    QCOMPARE(f.text("VersionNumberLabel"), QString());
}

void TestAboutForm::sysInfoEnlargesTheBoxForTheRestOfTheRun()
{
    // SYS INFO makes the box 631 high at top 78, keeping its width; the next opening shows it so at
    // once.
    AboutFixture f;
    QRect enlarged;
    int widthBefore = 0;
    QVERIFY(f.open([&] {
        widthBefore = f.about().frameGeometry().width();
        QTest::mouseClick(f.about().findChild<QPushButton *>(QStringLiteral("SpeedButtonMore")),
                          Qt::LeftButton);
        enlarged = f.about().frameGeometry();
    }));
    QCOMPARE(enlarged.height(), 631);
    QCOMPARE(enlarged.top(), 78);
    QCOMPARE(enlarged.width(), widthBefore);

    QRect reopened;
    QVERIFY(f.open([&] { reopened = f.about().frameGeometry(); }));
    QCOMPARE(reopened.height(), 631);
    QCOMPARE(reopened.top(), 78);
}

void TestAboutForm::linksChangeColourAndOpenTheShell_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("target");
    QTest::newRow("e-mail") << "LabelLogin"
                            << "mailto:karvel@example.org";
    QTest::newRow("web site") << "LabelHTTP"
                              << "https://karvel.example.org/";
}

void TestAboutForm::linksChangeColourAndOpenTheShell()
{
    // A link starts black, turns red with a hand over it, navy when left, and green while and after
    // it opens its target.
    QFETCH(QString, name);
    QFETCH(QString, target);
    AboutFixture f;
    QLabel *link = f.about().findChild<QLabel *>(name);
    const auto color = [&] { return link->palette().color(QPalette::WindowText); };
    QColor initial, hovered, left, whileOpening, afterClick;
    Qt::CursorShape cursor = Qt::ArrowCursor;
    f.shell.whileOpening = [&](const QString &) { whileOpening = color(); };
    QVERIFY(f.open([&] {
        initial = color();
        hover(link);
        hovered = color();
        cursor = link->cursor().shape();
        leave(link);
        left = color();
        QTest::mouseClick(link, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
        afterClick = color();
    }));
    QCOMPARE(initial, QColor(Qt::black));
    QCOMPARE(hovered, red);
    QCOMPARE(cursor, Qt::PointingHandCursor);
    QCOMPARE(left, navy);
    QCOMPARE(whileOpening, green);
    QCOMPARE(afterClick, green);
    QCOMPARE(f.shell.opened, QStringList{target});
    QCOMPARE(target, name == QLatin1String("LabelLogin") ? TAboutForm::mailTarget()
                                                         : TAboutForm::webTarget());
}

void TestAboutForm::flashTimerRunsAllTheTimeAndShowsToday()
{
    // TimerFlesh ticks every 300 ms from creation, also while hidden, and each tick shows today's
    // short date.
    AboutFixture f;
    QVERIFY(f.about().TimerFlesh().isActive());
    QCOMPARE(f.about().TimerFlesh().interval(), 300);
    const QString before = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    f.about().TimerFleshTimer();
    const QString after = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    QVERIFY2(f.text("LabelTusday") == before || f.text("LabelTusday") == after,
             qPrintable(f.text("LabelTusday")));
    QVERIFY(f.open());
    QVERIFY(f.about().TimerFlesh().isActive());
}

void TestAboutForm::onlyOkOrEnterClosesTheBox()
{
    // Escape leaves the box open (it has no cancel button or close box); Enter presses OK.
    AboutFixture f;
    bool openAfterEscape = false, openAfterEnter = true;
    QVERIFY(f.open([&] {
        QTest::keyClick(&f.about(), Qt::Key_Escape);
        openAfterEscape = f.about().isVisible();
        QTest::keyClick(&f.about(), Qt::Key_Return);
        openAfterEnter = f.about().isVisible();
    }));
    QVERIFY(openAfterEscape);
    QVERIFY(!openAfterEnter);
}

QTEST_MAIN(TestAboutForm)
#include "tst_aboutform.moc"
