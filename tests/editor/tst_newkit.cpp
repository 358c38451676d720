#include "editorfixture.h"

#include <QDir>
#include <QGroupBox>
#include <QLineEdit>

namespace {

const QString NewKit = QStringLiteral("C:\\KARVEL\\TEMES\\New001.qbk");
const QByteArray Kit = "[Section1]\r\nButton1=Rain\r\n[TemaArtist]\r\nButton1=Rock\r\n";

using platform::MessageAnswer;

} // namespace

class TestNewKit : public QObject
{
    Q_OBJECT

private slots:
    void createsTheProposedKitInAnExistingFolder();
    void overAnExistingKit_data();
    void overAnExistingKit();
    void refusedNames_data();
    void refusedNames();
    void okOrCancelInNewFileModeCreatesNothing_data();
    void okOrCancelInNewFileModeCreatesNothing();
};

void TestNewKit::createsTheProposedKitInAnExistingFolder()
{
    // CreateFile on the proposed name creates it with the previous kit's path in Option, reports it
    // and makes it current.
    EditorFixture f;
    f.writeKit(Kit);
    f.start();
    f.dialogs.answerMessage();

    f.whileOpen([&] {
        QVERIFY(f.control<QGroupBox>("GroupBoxFile")->isVisible());
        QVERIFY(!f.control<QGroupBox>("GroupBoxSong")->isVisible());
        QVERIFY(!f.control<QGroupBox>("GroupBoxTema")->isVisible());
        QCOMPARE(f.control<QLineEdit>("Editfile")->text(), NewKit);
        QCOMPARE(f.editor().windowTitle(), EditorFixture::KitPath);
        f.click("SpeedButtonNew");
    });
    f.clickNewFile();

    QVERIFY(!f.leftOpen);
    QCOMPARE(f.dialogs.texts(), QStringList{QStringLiteral("Создан файл ") + NewKit});
    QCOMPARE(f.dialogs.shown().first().messageKind, platform::MessageKind::Warning);
    QCOMPARE(f.kitValue(QStringLiteral("Option"), QStringLiteral("File"), NewKit),
             EditorFixture::KitPath);
    QCOMPARE(f.state.KitFileName, NewKit);
    QCOMPARE(f.state.EditMode, 1);
    QCOMPARE(f.base().SpeedButtonSong(1)->text(), QStringLiteral("Song-1"));
    QCOMPARE(f.base().SpeedButtonTema(1)->text(), QStringLiteral("Artist-1"));
    QCOMPARE(f.drive.read(EditorFixture::KitPath), Kit);
}

void TestNewKit::overAnExistingKit_data()
{
    QTest::addColumn<MessageAnswer>("answer");
    QTest::newRow("yes") << MessageAnswer::Yes;
    QTest::newRow("no") << MessageAnswer::No;
}

void TestNewKit::overAnExistingKit()
{
    // Over an existing kit the question comes first; Yes keeps its themes and songs and makes it
    // current, No stops with the editor open.
    QFETCH(MessageAnswer, answer);
    EditorFixture f;
    f.writeKit(Kit);
    const QString other = QStringLiteral("C:\\KARVEL\\TEMES\\Other.qbk");
    const QByteArray otherKit =
        "[Section1]\r\nButton1=Kept song\r\n[TemaArtist]\r\nButton1=Kept theme\r\n";
    f.writeKit(otherKit, other);
    f.start();
    f.dialogs.answerMessage(answer);
    if (answer == MessageAnswer::Yes)
        f.dialogs.answerMessage();

    bool newFileModeAfter = false;
    f.whileOpen([&] {
        QLineEdit *name = f.control<QLineEdit>("Editfile");
        name->selectAll();
        f.type(name, QStringLiteral("c:\\karvel\\temes\\OTHER.QBK"));
        f.click("SpeedButtonNew");
        newFileModeAfter =
            f.state.EditMode == 3 && f.control<QGroupBox>("GroupBoxFile")->isVisible();
    });
    f.clickNewFile();

    const QString typed = QStringLiteral("c:\\karvel\\temes\\OTHER.QBK");
    const QString question =
        QStringLiteral("файл ") + typed + QStringLiteral(" существует, заменить его?");
    QCOMPARE(f.dialogs.shown().first().buttons, platform::MessageButtons::YesNo);
    if (answer == MessageAnswer::No) {
        QVERIFY(f.leftOpen);
        QVERIFY(newFileModeAfter);
        QCOMPARE(f.dialogs.texts(), QStringList{question});
        QCOMPARE(f.drive.read(other), otherKit);
        QCOMPARE(f.state.KitFileName, EditorFixture::KitPath);
        QCOMPARE(f.base().SpeedButtonSong(1)->text(), QStringLiteral("Rain"));
        return;
    }
    QVERIFY(!f.leftOpen);
    QCOMPARE(f.dialogs.texts(), (QStringList{question, QStringLiteral("Создан файл ") + typed}));
    QCOMPARE(f.state.KitFileName, typed);
    QCOMPARE(f.kitValue(QStringLiteral("Option"), QStringLiteral("File"), other), typed);
    QCOMPARE(f.kitValue(QStringLiteral("Section1"), QStringLiteral("Button1"), other),
             QStringLiteral("Kept song"));
    QCOMPARE(f.kitValue(QStringLiteral("TemaArtist"), QStringLiteral("Button1"), other),
             QStringLiteral("Kept theme"));
    QCOMPARE(f.base().SpeedButtonSong(1)->text(), QStringLiteral("Kept song"));
    QCOMPARE(f.base().SpeedButtonTema(1)->text(), QStringLiteral("Kept theme"));
}

void TestNewKit::refusedNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("existingReadOnly");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("staysOpen");
    QTest::addColumn<QString>("kitAfter");

    const QString missing = QStringLiteral("C:\\KARVEL\\NOWHERE\\New.qbk");
    QTest::newRow("missing folder")
        << missing << false << QStringList{"Unable to write to " + missing} << true
        << EditorFixture::KitPath;
    QTest::newRow("bare file name") << QStringLiteral("Bare.qbk") << false
                                    << QStringList{QStringLiteral("Ошибка пути или имени файла!")}
                                    << false << EditorFixture::KitPath;
    // The question switched the current kit to the existing file before the write was refused.
    const QString locked = QStringLiteral("C:\\KARVEL\\TEMES\\Locked.qbk");
    QTest::newRow("read-only existing kit")
        << locked << true
        << QStringList{QStringLiteral("файл ") + locked +
                           QStringLiteral(" существует, заменить его?"),
                       "Unable to write to " + locked}
        << true << locked;
}

void TestNewKit::refusedNames()
{
    // A name that cannot be written shows the error and leaves the editor in new-file mode; a bare
    // name is refused unwritten.
    QFETCH(QString, name);
    QFETCH(bool, existingReadOnly);
    QFETCH(QStringList, texts);
    QFETCH(bool, staysOpen);
    QFETCH(QString, kitAfter);
    EditorFixture f;
    f.writeKit(Kit);
    if (existingReadOnly) {
        f.writeKit(Kit, name);
        QFile::setPermissions(f.drive.host(name), QFileDevice::ReadOwner);
        f.dialogs.answerMessage(MessageAnswer::Yes);
    }
    f.start();
    const QByteArray before = existingReadOnly ? f.drive.read(name) : QByteArray();
    for (const QString &text : texts) {
        if (text.startsWith(u"Unable"))
            f.dialogs.expectError();
        else if (!text.startsWith(u"файл"))
            f.dialogs.answerMessage();
    }

    bool newFileModeAfter = false;
    f.whileOpen([&] {
        QLineEdit *edit = f.control<QLineEdit>("Editfile");
        edit->selectAll();
        f.type(edit, name);
        f.click("SpeedButtonNew");
        newFileModeAfter =
            f.state.EditMode == 3 && f.control<QGroupBox>("GroupBoxFile")->isVisible();
    });
    f.clickNewFile();

    QCOMPARE(f.dialogs.texts(), texts);
    QVERIFY(f.dialogs.scriptDone());
    QCOMPARE(f.leftOpen, staysOpen);
    QCOMPARE(newFileModeAfter, staysOpen);
    QCOMPARE(f.state.KitFileName, kitAfter);
    QCOMPARE(f.state.EditMode, 1);
    if (existingReadOnly)
        QCOMPARE(f.drive.read(name), before);
    // Nothing was put into the Windows folder for the bare name, nor next to the program.
    QVERIFY(!f.drive.paths().fileExists(QStringLiteral("C:\\WINDOWS\\Bare.qbk")));
    QVERIFY(!QFile::exists(QDir::current().filePath(QStringLiteral("Bare.qbk"))));
    QCOMPARE(f.drive.read(EditorFixture::KitPath), Kit);
}

void TestNewKit::okOrCancelInNewFileModeCreatesNothing_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("OK") << "BitBtnOK";
    QTest::newRow("Cancel in the file box") << "BitBtn1";
}

void TestNewKit::okOrCancelInNewFileModeCreatesNothing()
{
    // OK or Cancel in new-file mode writes nothing and sets EditMode to 1; OK also selects the
    // board's theme again.
    QFETCH(QString, button);
    EditorFixture f;
    f.writeKit(Kit);
    f.start();
    QTest::mouseClick(f.base().SpeedButtonSong(7), Qt::LeftButton);
    f.dialogs.clear();
    QVERIFY(f.base().SpeedButtonSong(7)->isDown());

    f.whileOpen([&] { f.click(qPrintable(button)); });
    f.clickNewFile();

    QVERIFY(!f.leftOpen);
    QVERIFY(!f.drive.paths().fileExists(NewKit));
    QCOMPARE(f.state.KitFileName, EditorFixture::KitPath);
    QCOMPARE(f.state.EditMode, 1);
    QCOMPARE(f.drive.read(EditorFixture::KitPath), Kit);
    QCOMPARE(f.base().SpeedButtonSong(1)->isDown(), button == u"BitBtnOK");
    QVERIFY(f.dialogs.shown().isEmpty());
}

QTEST_MAIN(TestNewKit)
#include "tst_newkit.moc"
