#include "kit/kitformat.h"
#include "platform/richtext/richtextedit.h"
#include "platform/speedbutton/speedbutton.h"
#include "support/programfixture.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void startsWithTheKitPresent();
    void startsWithTheKitMissing();
    void placesTheBoardAndTheTextPane();
    void splashComesOnceAndClosesItself();
    void resizingMovesNothing();
    void bitmapThatCannotBeLoadedStopsStartUp();
};

void TestStartup::startsWithTheKitPresent()
{
    // With the default kit there, start-up fills the board, names the kit and selects theme 1.
    ProgramFixture fixture;
    fixture.writeKit("[Section1]\r\nButton1=Rain\r\n[TemaArtist]\r\nButton1=Rock\r\nButton2=Jazz\r\n");
    fixture.start();
    TBaseForm &form = fixture.base();

    QCOMPARE(form.windowTitle(), QStringLiteral(" C:\\KARVEL\\TEMES\\First.qbk"));
    QCOMPARE(fixture.find<QGroupBox>("GroupBoxSong")->title(), QStringLiteral("C:\\KARVEL\\TEMES\\First.qbk"));
    QCOMPARE(fixture.find<QLabel>("LabelStatus")->text(), QStringLiteral("No message"));
    QCOMPARE(form.SpeedButtonTema(1)->text(), QStringLiteral("Rock"));
    QCOMPARE(form.SpeedButtonTema(3)->text(), QStringLiteral("Artist-3"));
    QCOMPARE(form.SpeedButtonSong(1)->text(), QStringLiteral("Rain"));
    QCOMPARE(form.SpeedButtonSong(2)->text(), QStringLiteral("Song-2"));
    QVERIFY(form.SpeedButtonTema(1)->isDown());
    QVERIFY(form.SpeedButtonSong(1)->isDown());
    QVERIFY(!fixture.find<platform::SpeedButton>("SpeedButton3")->isDown());
    QCOMPARE(fixture.state.TemaNumber, 1);
    QCOMPARE(fixture.state.TemaEditNumber, 1);
    QCOMPARE(fixture.state.SectionName, QStringLiteral("Section1"));
    QVERIFY(fixture.dialogs.shown().isEmpty());
}

void TestStartup::startsWithTheKitMissing()
{
    // Without the kit, start-up says so, names the missing path, and the board shows defaults.
    ProgramFixture fixture;
    fixture.start();
    TBaseForm &form = fixture.base();

    QCOMPARE(form.windowTitle(), QStringLiteral(" C:\\KARVEL\\TEMES\\First.qbk"));
    QCOMPARE(fixture.find<QGroupBox>("GroupBoxSong")->title(), QStringLiteral("No File  C:\\KARVEL\\TEMES\\First.qbk"));
    const QString status = fixture.find<QLabel>("LabelStatus")->text();
    QCOMPARE(status, QString::fromUtf8("Не могу найти файл c темами! "));
    QCOMPARE(status.at(19), QChar(u'c')); // Latin, not Cyrillic
    // The theme buttons keep their built-in captions; the song buttons are filled from the missing file.
    QCOMPARE(form.SpeedButtonTema(2)->text(), QStringLiteral("Empty Tema Button"));
    QCOMPARE(form.SpeedButtonSong(50)->text(), QStringLiteral("Song-50"));
    QVERIFY(form.SpeedButtonTema(1)->isDown());
}

void TestStartup::placesTheBoardAndTheTextPane()
{
    // The board is centred and the text pane spans the window, from the bounds of the maximised window.
    ProgramFixture fixture;
    fixture.start();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QGroupBox *board = fixture.find<QGroupBox>("GroupBoxSong");
    QCOMPARE(board->geometry(), QRect((screen.width() - 977) / 2, 88, 977, 609));
    platform::RichTextEdit *pane = fixture.base().RichEdit();
    QCOMPARE(pane->geometry(), QRect(screen.left() + 25, 88, screen.width() - 50, screen.height() - 128));
    QVERIFY(pane->isHidden());
    QCOMPARE(pane->toPlainText(), QStringLiteral("текста нет"));
}

void TestStartup::splashComesOnceAndClosesItself()
{
    // TimerZast fires once and shows the splash modally; the splash's own timer closes it.
    ProgramFixture fixture;
    Program &program = fixture.start();
    QVERIFY(program.BaseForm.TimerZast().isActive());
    QCOMPARE(program.BaseForm.TimerZast().interval(), 200);
    QVERIFY(program.ZastForm.Timer1().isActive());
    QCOMPARE(program.ZastForm.Timer1().interval(), 2323);
    QVERIFY(!program.ZastForm.findChild<QWidget *>(QStringLiteral("BitBtn1"))->isVisible());

    bool shownModally = false;
    QTimer::singleShot(0, &program.ZastForm, [&] {
        shownModally = program.ZastForm.isVisible() && program.ZastForm.isModal();
        program.ZastForm.Timer1Timer();
    });
    program.BaseForm.TimerZastTimer();
    QVERIFY(shownModally);
    QVERIFY(!program.ZastForm.isVisible());
    QVERIFY(!program.BaseForm.TimerZast().isActive());
}

void TestStartup::resizingMovesNothing()
{
    // Resizing the window leaves the board and the text pane where start-up put them.
    ProgramFixture fixture;
    fixture.start();
    QGroupBox *board = fixture.find<QGroupBox>("GroupBoxSong");
    const QRect boardBefore = board->geometry();
    const QRect paneBefore = fixture.base().RichEdit()->geometry();
    fixture.base().resize(640, 480);
    fixture.base().resize(1600, 1000);
    QCOMPARE(board->geometry(), boardBefore);
    QCOMPARE(fixture.base().RichEdit()->geometry(), paneBefore);
}

void TestStartup::bitmapThatCannotBeLoadedStopsStartUp()
{
    // A fallback bitmap that cannot be loaded shows the error box and ends the creation handler there.
    ProgramFixture fixture;
    fixture.drive.write(QStringLiteral("C:\\KARVEL\\NoIcoS.bmp"), "not a bitmap");
    fixture.writeKit("[Section1]\r\nButton1=Rain\r\n");
    fixture.dialogs.expectError();
    fixture.start();
    QCOMPARE(fixture.dialogs.shown().size(), 1);
    QVERIFY(fixture.dialogs.texts().constFirst().contains(QStringLiteral("NoIcoS.bmp")));
    // The captions were set before the glyphs failed; the later steps did not run.
    QCOMPARE(fixture.base().SpeedButtonSong(1)->text(), QStringLiteral("Rain"));
    QVERIFY(!fixture.base().TimerZast().isActive());
    QCOMPARE(fixture.base().windowTitle(), QString());
    QVERIFY(!fixture.base().RichEdit()->isHidden());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
