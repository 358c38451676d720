#include "editorfixture.h"
#include "kit/kitformat.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>

namespace {

const QString Section = QStringLiteral("Section1");
const QString RedIcon = QStringLiteral("C:\\KARVEL\\ICONS\\red.bmp");

QColor glyphColor(const platform::SpeedButton *button)
{
    return button->glyph().toImage().pixelColor(4, 4);
}

} // namespace

class TestSongEditor : public QObject
{
    Q_OBJECT

private slots:
    void songWithoutEntryGetsDefaultsAndOkWritesAllKeys();
    void missingStoredFileWarnsAndKeepsItsKey_data();
    void missingStoredFileWarnsAndKeepsItsKey();
    void storedVolumeIsClampedOrDefaulted_data();
    void storedVolumeIsClampedOrDefaulted();
    void choosesFilesWithTheirDialogs();
    void unloadableIconAtOpeningStillShowsThisEntry();
    void clearedIconIsWrittenAsNoFile();
    void typingPreviewsAndCancelLeavesTheKitAsItWas_data();
    void typingPreviewsAndCancelLeavesTheKitAsItWas();
    void volumeTogetherMovesTheMainVolumeBar();
    void volumeApartLeavesTheMainVolumeBarAlone();
    void readOnlyKitShowsTheErrorAndStaysOpen();
};

void TestSongEditor::songWithoutEntryGetsDefaultsAndOkWritesAllKeys()
{
    // A song button without entry opens with "Song-N", no files and volume 50; OK writes all five
    // keys.
    EditorFixture f;
    f.writeKit("[Section1]\r\nButton1=Rain\r\n");
    f.start();
    QSignalSpy closed(&f.editor(), &QDialog::finished);

    f.whileOpen([&] {
        QVERIFY(f.control<QGroupBox>("GroupBoxSong")->isVisible());
        QVERIFY(!f.control<QGroupBox>("GroupBoxTema")->isVisible());
        QVERIFY(!f.control<QGroupBox>("GroupBoxFile")->isVisible());
        QCOMPARE(f.editor().windowTitle(),
                 EditorFixture::KitPath + QStringLiteral("  Song Button = 7"));
        QCOMPARE(f.editor().size(), QSize(550, 550));
        QCOMPARE(f.control<QLineEdit>("EditNameButton")->text(), QStringLiteral("Song-7"));
        QCOMPARE(f.control<platform::SpeedButton>("SpeedButtonSongTemp")->text(),
                 QStringLiteral("Song-7"));
        QCOMPARE(f.control<QLabel>("LabelNameRtf")->text(), QStringLiteral("-"));
        QCOMPARE(f.control<QLabel>("LabelNameSong")->text(), QStringLiteral("-"));
        QCOMPARE(f.control<QLabel>("LabelIcon")->text(), QStringLiteral("-"));
        QCOMPARE(f.control<QScrollBar>("ScrollBarVol")->value(), 50);
        QCOMPARE(f.control<QLabel>("LabelVol")->text(), QStringLiteral("50%"));
        QCOMPARE(f.state.SongCaption, QStringLiteral("Song-7"));

        QLineEdit *name = f.control<QLineEdit>("EditNameButton");
        name->selectAll();
        f.type(name, QString::fromUtf8("Вальс"));
        f.click("BitBtnOK");
    });
    f.rightClickSong(7);

    QVERIFY(!f.leftOpen);
    QCOMPARE(closed.count(), 1);
    QCOMPARE(f.kitValue(Section, QStringLiteral("Button7")), QString::fromUtf8("Вальс"));
    QCOMPARE(f.kitValue(Section, QStringLiteral("Text7")), QStringLiteral("-"));
    QCOMPARE(f.kitValue(Section, QStringLiteral("Song7")), QStringLiteral("-"));
    QCOMPARE(f.kitValue(Section, QStringLiteral("Icon7")), QStringLiteral("-"));
    QCOMPARE(f.kitValue(Section, QStringLiteral("Vol7")), QStringLiteral("50"));
    // The Cyrillic caption is stored in the kit's code page.
    QVERIFY(f.drive.read(EditorFixture::KitPath).contains("Button7=\xC2\xE0\xEB\xFC\xF1"));
    QCOMPARE(f.base().SpeedButtonSong(7)->text(), QString::fromUtf8("Вальс"));
    QCOMPARE(f.base().SpeedButtonSong(1)->text(), QStringLiteral("Rain"));
    QCOMPARE(f.state.SongCaption, QString::fromUtf8("Вальс"));
    QCOMPARE(f.state.IconFileName, QStringLiteral("-"));
    QCOMPARE(f.state.EditMode, 1);
    // OK selects the board's theme again: song button 1 is down.
    QVERIFY(f.base().SpeedButtonSong(1)->isDown());
    QVERIFY(f.dialogs.shown().isEmpty());
}

void TestSongEditor::missingStoredFileWarnsAndKeepsItsKey_data()
{
    QTest::addColumn<QStringList>("deleted");
    QTest::addColumn<QStringList>("warnings");

    const QString rtf = QStringLiteral("Файл RTF не инициализирован! ");
    const QString wav = QStringLiteral("Файл Wav не инициализирован! ");
    const QString ico = QStringLiteral("Файл Ico не инициализирован! ");
    QTest::newRow("text deleted") << QStringList{"Text3"} << QStringList{rtf};
    QTest::newRow("song deleted") << QStringList{"Song3"} << QStringList{wav};
    QTest::newRow("icon deleted") << QStringList{"Icon3"} << QStringList{ico};
    QTest::newRow("all three deleted, warned in order")
        << QStringList{"Icon3", "Song3", "Text3"} << QStringList{rtf, wav, ico};
}

void TestSongEditor::missingStoredFileWarnsAndKeepsItsKey()
{
    // A stored file that is gone gives its warning and keeps its key; the other keys are written
    // and the dialog closes.
    QFETCH(QStringList, deleted);
    QFETCH(QStringList, warnings);
    EditorFixture f;
    const QHash<QString, QString> files{{"Text3", "C:\\KARVEL\\TEXTS\\three.rtf"},
                                        {"Song3", "C:\\KARVEL\\SONGS\\three.wav"},
                                        {"Icon3", RedIcon}};
    f.writeRtf(files["Text3"], "Three");
    f.writeWav(files["Song3"], 100);
    f.writeBitmap(RedIcon, Qt::red);
    f.writeKit("[Section1]\r\nButton3=Three\r\nText3=" + files["Text3"].toLatin1() + "\r\nSong3=" +
               files["Song3"].toLatin1() + "\r\nIcon3=" + RedIcon.toLatin1() + "\r\nVol3=70\r\n");
    f.start();
    for (const QString &key : deleted)
        QVERIFY(QFile::remove(f.drive.host(files[key])));
    f.writeBitmap(QStringLiteral("C:\\KARVEL\\ICONS\\blue.bmp"), Qt::blue);
    for (int i = 0; i < warnings.size(); ++i)
        f.dialogs.answerMessage();

    f.whileOpen([&] {
        QLineEdit *name = f.control<QLineEdit>("EditNameButton");
        name->selectAll();
        f.type(name, QStringLiteral("Renamed"));
        f.control<QScrollBar>("ScrollBarVol")->setValue(40);
        f.click("BitBtnOK");
    });
    f.rightClickSong(3);

    QVERIFY(!f.leftOpen);
    QCOMPARE(f.dialogs.texts(), warnings);
    for (const ScriptedDialogs::Shown &box : f.dialogs.shown())
        QCOMPARE(box.messageKind, platform::MessageKind::Warning);
    for (const QString &key : files.keys())
        QCOMPARE(f.kitValue(Section, key), files[key]);
    QCOMPARE(f.kitValue(Section, QStringLiteral("Button3")), QStringLiteral("Renamed"));
    QCOMPARE(f.kitValue(Section, QStringLiteral("Vol3")), QStringLiteral("40"));
    // The icon path the main window is left with is what the kit holds, the stored one.
    QCOMPARE(f.state.IconFileName, RedIcon);
    QCOMPARE(f.state.EditMode, 1);
}

void TestSongEditor::storedVolumeIsClampedOrDefaulted_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("label");

    QTest::newRow("above the bar") << QByteArray("150") << 100 << "100";
    QTest::newRow("below the bar") << QByteArray("-20") << 0 << "0";
    QTest::newRow("not a number") << QByteArray("loud") << 50 << "50%";
    QTest::newRow("hexadecimal") << QByteArray("0x1E") << 30 << "30";
}

void TestSongEditor::storedVolumeIsClampedOrDefaulted()
{
    // The stored volume shows clamped to the bar's 0..100 (50 when not a number) and is written
    // back as shown.
    QFETCH(QByteArray, stored);
    QFETCH(int, shown);
    QFETCH(QString, label);
    EditorFixture f;
    f.writeKit("[Section1]\r\nButton2=Two\r\nVol2=" + stored + "\r\n");
    f.start();

    f.whileOpen([&] {
        QCOMPARE(f.control<QScrollBar>("ScrollBarVol")->value(), shown);
        QCOMPARE(f.control<QLabel>("LabelVol")->text(), label);
        f.click("BitBtnOK");
    });
    f.rightClickSong(2);

    QVERIFY(!f.leftOpen);
    QCOMPARE(f.kitValue(Section, QStringLiteral("Vol2")), QString::number(shown));
}

void TestSongEditor::choosesFilesWithTheirDialogs()
{
    // Each choose button runs its dialog with its filter and folder; a cancelled dialog changes
    // nothing; OK stores the chosen paths.
    EditorFixture f;
    const QString text = QStringLiteral("C:\\KARVEL\\TEXTS\\words.rtf");
    const QString song = QStringLiteral("C:\\KARVEL\\SONGS\\tune.wav");
    f.writeRtf(text, "Words");
    f.writeWav(song, 100);
    f.writeBitmap(RedIcon, Qt::red);
    f.writeKit("[Section1]\r\nButton4=Four\r\n");
    f.start();
    f.dialogs.answerFile(std::nullopt);
    f.dialogs.answerFile(text);
    f.dialogs.answerFile(song);
    f.dialogs.answerFile(RedIcon);

    f.whileOpen([&] {
        f.click("SpeedButtonOpenText");
        QCOMPARE(f.control<QLabel>("LabelNameRtf")->text(), QStringLiteral("-"));
        QCOMPARE(f.editor().EditTextFileName(), QStringLiteral("-"));
        f.click("SpeedButtonOpenText");
        f.click("SpeedButtonOpenSong");
        f.click("SpeedButtonIcon");
        QCOMPARE(f.control<QLabel>("LabelNameRtf")->text(), text);
        QCOMPARE(f.control<QLabel>("LabelNameSong")->text(), song);
        QCOMPARE(f.control<QLabel>("LabelIcon")->text(), RedIcon);
        QCOMPARE(glyphColor(f.control<platform::SpeedButton>("SpeedButtonSongTemp")),
                 QColor(Qt::red));
        f.click("BitBtnOK");
    });
    f.rightClickSong(4);

    QVERIFY(!f.leftOpen);
    const QList<ScriptedDialogs::Shown> &shown = f.dialogs.shown();
    QCOMPARE(shown.size(), 4);
    QCOMPARE(shown[0].kind, ScriptedDialogs::Kind::OpenFile);
    QCOMPARE(shown[0].options.filter, QStringLiteral("RTF files|*.rtf"));
    QCOMPARE(shown[0].options.initialFolder, QStringLiteral("C:\\KARVEL\\TEXTS"));
    QCOMPARE(shown[2].kind, ScriptedDialogs::Kind::OpenFile);
    QCOMPARE(shown[2].options.filter, QStringLiteral("mp3|*.mp3|wav|*.wav|midi|*.mid|all|*.*"));
    QCOMPARE(shown[2].options.initialFolder, QStringLiteral("C:\\KARVEL\\SONGS"));
    QCOMPARE(shown[3].kind, ScriptedDialogs::Kind::OpenPicture);
    QCOMPARE(shown[3].options.filter, QStringLiteral("Bitmaps (*.bmp)|*.bmp"));
    QCOMPARE(shown[3].options.initialFolder, QStringLiteral("C:\\KARVEL\\ICONS"));
    QCOMPARE(f.kitValue(Section, QStringLiteral("Text4")), text);
    QCOMPARE(f.kitValue(Section, QStringLiteral("Song4")), song);
    QCOMPARE(f.kitValue(Section, QStringLiteral("Icon4")), RedIcon);
    QCOMPARE(f.state.IconFileName, RedIcon);
    QCOMPARE(glyphColor(f.base().SpeedButtonSong(4)), QColor(Qt::red));
}

void TestSongEditor::unloadableIconAtOpeningStillShowsThisEntry()
{
    // An icon that is no bitmap shows its error at opening; the fields still hold this entry, so OK
    // writes its own caption.
    EditorFixture f;
    const QString broken = QStringLiteral("C:\\KARVEL\\ICONS\\broken.bmp");
    f.drive.write(broken, "not a picture");
    f.writeKit("[Section1]\r\nButton2=Two\r\n");
    f.start();
    f.whileOpen([&] { f.click("BitBtnEsc"); });
    f.rightClickSong(2);
    f.writeKit("[Section1]\r\nButton2=Two\r\nButton3=Three\r\nIcon3=" + broken.toLatin1() + "\r\n");

    f.dialogs.expectError();
    f.whileOpen([&] {
        QCOMPARE(f.dialogs.shown().size(), 1);
        QCOMPARE(f.control<QLineEdit>("EditNameButton")->text(), QStringLiteral("Three"));
        QCOMPARE(f.control<QLabel>("LabelIcon")->text(), broken);
        QCOMPARE(f.editor().windowTitle(),
                 EditorFixture::KitPath + QStringLiteral("  Song Button = 3"));
        // The board cannot show the broken icon either: the user clears it.
        f.click("SpeedButtonDelIcon");
        f.click("BitBtnOK");
    });
    f.rightClickSong(3);

    QVERIFY(!f.leftOpen);
    QVERIFY(f.dialogs.scriptDone());
    QCOMPARE(f.kitValue(Section, QStringLiteral("Button3")), QStringLiteral("Three"));
    QCOMPARE(f.kitValue(Section, QStringLiteral("Button2")), QStringLiteral("Two"));
}

void TestSongEditor::clearedIconIsWrittenAsNoFile()
{
    // Clearing the icon writes Icon<N> = "-" and leaves "-" in IconFileName; the button falls back
    // to the no-icon glyph.
    EditorFixture f;
    f.writeBitmap(RedIcon, Qt::red);
    f.writeKit("[Section1]\r\nButton5=Five\r\nIcon5=" + RedIcon.toLatin1() + "\r\n");
    f.start();
    QCOMPARE(glyphColor(f.base().SpeedButtonSong(5)), QColor(Qt::red));

    f.whileOpen([&] {
        QCOMPARE(f.control<QLabel>("LabelIcon")->text(), RedIcon);
        f.click("SpeedButtonDelIcon");
        QCOMPARE(f.control<QLabel>("LabelIcon")->text(), QStringLiteral("-"));
        // The preview keeps the glyph it shows.
        QCOMPARE(glyphColor(f.control<platform::SpeedButton>("SpeedButtonSongTemp")),
                 QColor(Qt::red));
        f.click("BitBtnOK");
    });
    f.rightClickSong(5);

    QVERIFY(!f.leftOpen);
    QCOMPARE(f.kitValue(Section, QStringLiteral("Icon5")), QStringLiteral("-"));
    QCOMPARE(f.state.IconFileName, QStringLiteral("-"));
    QCOMPARE(glyphColor(f.base().SpeedButtonSong(5)), QColor(Qt::gray));
}

void TestSongEditor::typingPreviewsAndCancelLeavesTheKitAsItWas_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel button") << "BitBtnEsc";
    QTest::newRow("Escape key") << "Escape";
    QTest::newRow("close box") << "close";
}

void TestSongEditor::typingPreviewsAndCancelLeavesTheKitAsItWas()
{
    // Each key release shows the typed caption on the preview; cancelling writes nothing and the
    // button keeps its stored caption.
    QFETCH(QString, how);
    EditorFixture f;
    f.writeBitmap(RedIcon, Qt::red);
    f.writeKit("[Section1]\r\nButton6=Six\r\nIcon6=" + RedIcon.toLatin1() + "\r\nVol6=20\r\n");
    f.start();
    const QByteArray before = f.drive.read(EditorFixture::KitPath);
    f.dialogs.answerFile(QStringLiteral("C:\\KARVEL\\TEXTS\\other.rtf"));

    QStringList previews;
    f.whileOpen([&] {
        QLineEdit *name = f.control<QLineEdit>("EditNameButton");
        auto *preview = f.control<platform::SpeedButton>("SpeedButtonSongTemp");
        name->end(false);
        for (const char key : QByteArray("ty")) {
            QTest::keyClick(name, key);
            previews << preview->text();
        }
        f.click("SpeedButtonOpenText");
        f.click("SpeedButtonDelIcon");
        f.control<QScrollBar>("ScrollBarVol")->setValue(90);
        if (how == u"Escape")
            QTest::keyClick(name, Qt::Key_Escape);
        else if (how == u"close")
            f.editor().close();
        else
            f.click(qPrintable(how));
    });
    f.rightClickSong(6);

    QVERIFY(!f.leftOpen);
    QCOMPARE(previews, (QStringList{"Sixt", "Sixty"}));
    QCOMPARE(f.drive.read(EditorFixture::KitPath), before);
    QCOMPARE(f.state.SongCaption, QStringLiteral("Six"));
    QCOMPARE(f.state.IconFileName, RedIcon);
    QCOMPARE(f.base().SpeedButtonSong(6)->text(), QStringLiteral("Six"));
    QCOMPARE(glyphColor(f.base().SpeedButtonSong(6)), QColor(Qt::red));
    QCOMPARE(f.state.EditMode, 1);
}

void TestSongEditor::volumeTogetherMovesTheMainVolumeBar()
{
    // With "together" ticked, opening a song and moving the editor's bar move the main volume bar;
    // Cancel does not move it back.
    EditorFixture f;
    f.writeKit("[Section1]\r\nButton8=Eight\r\nVol8=80\r\n");
    f.start();
    auto *mainBar = f.mainControl<QScrollBar>("ScrollBarVolume");
    auto *mainTogether = f.mainControl<QCheckBox>("CheckBoxVolumeOn");
    QVERIFY(mainBar && mainTogether);
    mainTogether->setChecked(true);
    QCOMPARE(mainBar->value(), 50);

    int onOpening = -1;
    f.whileOpen([&] {
        onOpening = mainBar->value();
        QVERIFY(f.control<QCheckBox>("CheckBoxVolumeOn")->isChecked());
        f.control<QScrollBar>("ScrollBarVol")->setValue(30);
        QCOMPARE(f.control<QLabel>("LabelVol")->text(), QStringLiteral("30"));
        f.click("BitBtnEsc");
    });
    f.rightClickSong(8);

    QVERIFY(!f.leftOpen);
    QCOMPARE(onOpening, 80);
    QCOMPARE(mainBar->value(), 30);
    QCOMPARE(f.mixer.volume(), 30u * 655);
    QCOMPARE(f.kitValue(Section, QStringLiteral("Vol8")), QStringLiteral("80"));
}

void TestSongEditor::volumeApartLeavesTheMainVolumeBarAlone()
{
    // Unticked, the editor's bar moves no main volume; ticking the editor's box ticks the main
    // window's without moving the volume.
    EditorFixture f;
    f.writeKit("[Section1]\r\nVol8=80\r\n");
    f.start();
    auto *mainBar = f.mainControl<QScrollBar>("ScrollBarVolume");
    auto *mainTogether = f.mainControl<QCheckBox>("CheckBoxVolumeOn");

    f.whileOpen([&] {
        QVERIFY(!f.control<QCheckBox>("CheckBoxVolumeOn")->isChecked());
        f.control<QScrollBar>("ScrollBarVol")->setValue(30);
        QCOMPARE(mainBar->value(), 50);
        f.click("CheckBoxVolumeOn");
        QVERIFY(mainTogether->isChecked());
        QCOMPARE(mainBar->value(), 50);
        f.control<QScrollBar>("ScrollBarVol")->setValue(35);
        QCOMPARE(mainBar->value(), 35);
        f.click("BitBtnEsc");
    });
    f.rightClickSong(8);

    QVERIFY(!f.leftOpen);
    QVERIFY(mainTogether->isChecked());
}

void TestSongEditor::readOnlyKitShowsTheErrorAndStaysOpen()
{
    // A kit that cannot be written shows "Unable to write to <kit>" at once; the dialog stays open
    // in song mode and the kit is unchanged.
    EditorFixture f;
    f.writeKit("[Section1]\r\nButton9=Nine\r\n");
    f.start();
    const QByteArray before = f.drive.read(EditorFixture::KitPath);
    QFile::setPermissions(f.drive.host(EditorFixture::KitPath),
                          QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    f.dialogs.expectError();

    QStringList shownWhileOpen;
    bool stillSongMode = false;
    f.whileOpen([&] {
        QLineEdit *name = f.control<QLineEdit>("EditNameButton");
        name->selectAll();
        f.type(name, QStringLiteral("Ninety"));
        f.click("BitBtnOK");
        shownWhileOpen = f.dialogs.texts();
        stillSongMode = f.state.EditMode == 1 && f.control<QGroupBox>("GroupBoxSong")->isVisible();
        f.click("BitBtnEsc");
    });
    f.rightClickSong(9);

    QCOMPARE(shownWhileOpen, QStringList{"Unable to write to " + EditorFixture::KitPath});
    QVERIFY(stillSongMode);
    QVERIFY(!f.leftOpen);
    QVERIFY(f.dialogs.scriptDone());
    QCOMPARE(f.drive.read(EditorFixture::KitPath), before);
    // The caption the main window puts on the button is the one the kit still holds.
    QCOMPARE(f.state.SongCaption, QStringLiteral("Nine"));
    QCOMPARE(f.base().SpeedButtonSong(9)->text(), QStringLiteral("Nine"));
}

QTEST_MAIN(TestSongEditor)
#include "tst_songeditor.moc"
