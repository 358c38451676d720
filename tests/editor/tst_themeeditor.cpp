#include "editorfixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

const QString Themes = QStringLiteral("TemaArtist");
const QString NoThemeIcon = QStringLiteral("C:\\KARVEL\\NoIcoT.bmp");
const QString BlueIcon = QStringLiteral("C:\\KARVEL\\ICONS\\blue.bmp");

QColor glyphColor(const platform::SpeedButton *button)
{
    return button->glyph().toImage().pixelColor(4, 4);
}

} // namespace

class TestThemeEditor : public QObject
{
    Q_OBJECT

private slots:
    void themeIconAtOk_data();
    void themeIconAtOk();
    void choosingAThemeIconShowsItOnThePreview();
    void closeBoxInThemeModeThenASongRightClickOpensSongMode();
    void failedReloadAtOkKeepsThemeMode();
};

void TestThemeEditor::themeIconAtOk_data()
{
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<bool>("clear");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("warned");

    QTest::newRow("no icon key: the no-icon picture")
        << QByteArray() << false << NoThemeIcon << NoThemeIcon << false;
    QTest::newRow("stored icon") << QByteArray("Icon2=C:\\KARVEL\\ICONS\\blue.bmp\r\n") << false
                                 << BlueIcon << BlueIcon << false;
    QTest::newRow("stored icon deleted") << QByteArray("Icon2=C:\\KARVEL\\ICONS\\gone.bmp\r\n")
                                         << false << QStringLiteral("C:\\KARVEL\\ICONS\\gone.bmp")
                                         << QStringLiteral("C:\\KARVEL\\ICONS\\gone.bmp") << true;
    QTest::newRow("icon cleared") << QByteArray("Icon2=C:\\KARVEL\\ICONS\\blue.bmp\r\n") << true
                                  << BlueIcon << QStringLiteral("-") << false;
}

void TestThemeEditor::themeIconAtOk()
{
    // Theme mode shows Icon<T> (the no-icon picture when absent); OK writes it when its file exists
    // or it is cleared, else warns and keeps the key.
    QFETCH(QByteArray, entry);
    QFETCH(bool, clear);
    QFETCH(QString, label);
    QFETCH(QString, written);
    QFETCH(bool, warned);
    EditorFixture f;
    f.writeBitmap(BlueIcon, Qt::blue);
    f.writeKit(
        "[Section2]\r\nButton1=Jazz One\r\n[TemaArtist]\r\nButton1=Rock\r\nButton2=Jazz\r\n" +
        entry);
    f.start();
    QTest::mouseClick(f.base().SpeedButtonTema(1), Qt::LeftButton);
    if (warned)
        f.dialogs.answerMessage();

    f.whileOpen([&] {
        QVERIFY(f.control<QGroupBox>("GroupBoxTema")->isVisible());
        QVERIFY(!f.control<QGroupBox>("GroupBoxSong")->isVisible());
        QVERIFY(!f.control<QGroupBox>("GroupBoxFile")->isVisible());
        QCOMPARE(f.editor().windowTitle(),
                 EditorFixture::KitPath + QStringLiteral("  Tema Button = 2"));
        QCOMPARE(f.control<QLabel>("LabelIcoTema")->text(), label);
        QCOMPARE(f.control<QLineEdit>("EditTemaButton")->text(), QStringLiteral("Jazz"));
        QLineEdit *name = f.control<QLineEdit>("EditTemaButton");
        name->selectAll();
        f.type(name, QStringLiteral("Blues"));
        QCOMPARE(f.control<platform::SpeedButton>("SpeedButtonTempTema")->text(),
                 QStringLiteral("Blues"));
        if (clear)
            f.click("SpeedButtonIcotemadel");
        f.click("BitBtnOK");
    });
    f.rightClickTheme(2);

    QVERIFY(!f.leftOpen);
    if (warned)
        QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("Файла Ico ") + u'n' +
                                                QStringLiteral("е существует ")});
    else
        QVERIFY(f.dialogs.shown().isEmpty());
    QCOMPARE(f.kitValue(Themes, QStringLiteral("Button2")), QStringLiteral("Blues"));
    QCOMPARE(f.kitValue(Themes, QStringLiteral("Icon2")), written);
    QCOMPARE(f.state.TemaCaption, QStringLiteral("Blues"));
    QCOMPARE(f.base().SpeedButtonTema(2)->text(), QStringLiteral("Blues"));
    // The theme selected on the board is selected again; no song keys were written.
    QCOMPARE(f.state.SectionName, QStringLiteral("Section1"));
    QCOMPARE(f.state.TemaEditNumber, 1);
    QCOMPARE(f.kitValue(QStringLiteral("Section1"), QStringLiteral("Button1")),
             QStringLiteral("<absent>"));
    QCOMPARE(f.state.EditMode, 1);
}

void TestThemeEditor::choosingAThemeIconShowsItOnThePreview()
{
    // A chosen theme icon is shown on the preview and in the label; a picture that cannot be loaded
    // shows the error and keeps the path.
    EditorFixture f;
    f.writeBitmap(BlueIcon, Qt::blue);
    f.drive.write(QStringLiteral("C:\\KARVEL\\ICONS\\broken.bmp"), "not a picture");
    f.writeKit("[TemaArtist]\r\nButton3=Folk\r\n");
    f.start();
    f.dialogs.answerFile(BlueIcon);
    f.dialogs.answerFile(QStringLiteral("C:\\KARVEL\\ICONS\\broken.bmp"));
    f.dialogs.expectError();

    f.whileOpen([&] {
        auto *preview = f.control<platform::SpeedButton>("SpeedButtonTempTema");
        f.click("SpeedButtonIcoTema");
        QCOMPARE(glyphColor(preview), QColor(Qt::blue));
        QCOMPARE(f.editor().EditTemaIconFileName(), BlueIcon);
        f.click("SpeedButtonIcoTema");
        QCOMPARE(f.editor().EditTemaIconFileName(),
                 QStringLiteral("C:\\KARVEL\\ICONS\\broken.bmp"));
        QCOMPARE(f.control<QLabel>("LabelIcoTema")->text(),
                 QStringLiteral("C:\\KARVEL\\ICONS\\broken.bmp"));
        QCOMPARE(glyphColor(preview), QColor(Qt::blue));
        f.click("BitBtnEsc");
    });
    f.rightClickTheme(3);

    QVERIFY(!f.leftOpen);
    QVERIFY(f.dialogs.scriptDone());
    QCOMPARE(f.dialogs.shown().last().kind, ScriptedDialogs::Kind::Error);
    QCOMPARE(f.kitValue(Themes, QStringLiteral("Icon3")), QStringLiteral("<absent>"));
}

void TestThemeEditor::closeBoxInThemeModeThenASongRightClickOpensSongMode()
{
    // Closing a theme edit with the window's close box leaves the editor in song mode for the next
    // song right click.
    EditorFixture f;
    f.writeKit("[Section1]\r\nButton4=Four\r\n[TemaArtist]\r\nButton1=Rock\r\n");
    f.start();

    f.whileOpen([&] { f.editor().close(); });
    f.rightClickTheme(1);
    QVERIFY(!f.leftOpen);
    QCOMPARE(f.state.EditMode, 1);
    QCOMPARE(f.base().SpeedButtonTema(1)->text(), QStringLiteral("Rock"));

    bool songMode = false;
    f.whileOpen([&] {
        songMode = f.control<QGroupBox>("GroupBoxSong")->isVisible() &&
                   !f.control<QGroupBox>("GroupBoxTema")->isVisible();
        QCOMPARE(f.editor().windowTitle(),
                 EditorFixture::KitPath + QStringLiteral("  Song Button = 4"));
        QCOMPARE(f.control<QLineEdit>("EditNameButton")->text(), QStringLiteral("Four"));
        f.editor().close();
    });
    f.rightClickSong(4);
    QVERIFY(songMode);
    QVERIFY(!f.leftOpen);
}

void TestThemeEditor::failedReloadAtOkKeepsThemeMode()
{
    // When the board cannot reload after a theme's OK, the dialog stays open in theme mode: a
    // second OK writes no song keys.
    EditorFixture f;
    f.writeKit("[TemaArtist]\r\nButton1=Rock\r\n");
    f.start();
    f.drive.write(QStringLiteral("C:\\KARVEL\\ICONS\\broken.bmp"), "not a picture");
    f.writeKit(
        "[Section1]\r\nIcon2=C:\\KARVEL\\ICONS\\broken.bmp\r\n[TemaArtist]\r\nButton1=Rock\r\n");
    f.dialogs.expectError();
    f.dialogs.expectError();

    int modeAfterOk = 0;
    f.whileOpen([&] {
        QLineEdit *name = f.control<QLineEdit>("EditTemaButton");
        name->selectAll();
        f.type(name, QStringLiteral("Punk"));
        f.click("BitBtnOK");
        modeAfterOk = f.state.EditMode;
        f.click("BitBtnOK");
        f.click("BitBtnEsc");
    });
    f.rightClickTheme(1);

    QVERIFY(!f.leftOpen);
    QVERIFY(f.dialogs.scriptDone());
    QCOMPARE(modeAfterOk, 2);
    QCOMPARE(f.kitValue(Themes, QStringLiteral("Button1")), QStringLiteral("Punk"));
    QCOMPARE(f.kitValue(QStringLiteral("Section1"), QStringLiteral("Button1")),
             QStringLiteral("<absent>"));
    QCOMPARE(f.kitValue(QStringLiteral("Section1"), QStringLiteral("Vol1")),
             QStringLiteral("<absent>"));
    QCOMPARE(f.state.EditMode, 1);
}

QTEST_MAIN(TestThemeEditor)
#include "tst_themeeditor.moc"
