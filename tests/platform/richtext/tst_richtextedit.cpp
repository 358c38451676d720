#include "platform/platformerror.h"
#include "platform/richtext/richtextedit.h"
#include "support/tempdrive.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

/** The text pane: loading files by Windows path, its length, the caret and its settings. */
class TestRichTextEdit : public QObject
{
    Q_OBJECT

private slots:
    void loadsRtfAndPlainText_data();
    void loadsRtfAndPlainText();
    void unreadableFileThrowsNamingItAndKeepsTheText();
    void caretIsClampedAndKeptInView();
    void loadingStartsAfreshAtTheTop();
    void keyDownIsToldAndTheKeyStillTyped();
    void paneSettings();
    void selectionKeepsItsColoursWithoutFocus();
};

void TestRichTextEdit::loadsRtfAndPlainText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("rtf") << QByteArray(
                                "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 "
                                "Arial;}}\\f0 \\'d2\\'e5\\'ea\\'f1\\'f2\\par \\'e4\\'e0\\par\r\n}")
                         << QStringLiteral("Текст\nда");
    QTest::newRow("utf-8") << QStringLiteral("Текст\r\nда").toUtf8() << QStringLiteral("Текст\nда");
    QTest::newRow("ansi") << QByteArray("\xd2\xe5\xea\xf1\xf2\r\xe4\xe0")
                          << QStringLiteral("Текст\nда");
    QTest::newRow("empty") << QByteArray() << QString();
}

void TestRichTextEdit::loadsRtfAndPlainText()
{
    // A file is read as RTF when it starts as RTF, else as plain text; the length counts
    // each paragraph end as one character.
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    TempDrive drive;
    drive.write(QStringLiteral("C:\\KARVEL\\TEXTS\\Song.rtf"), bytes);
    platform::RichTextEdit pane(drive.paths());
    pane.loadFile(QStringLiteral("c:\\karvel\\texts\\SONG.RTF"));
    QCOMPARE(pane.toPlainText(), text);
    QCOMPARE(pane.textLength(), text.size());
}

void TestRichTextEdit::unreadableFileThrowsNamingItAndKeepsTheText()
{
    // A missing file, or a folder, fails with a text naming the file; the old text stays.
    TempDrive drive;
    drive.makeFolder(QStringLiteral("C:\\KARVEL\\Folder.rtf"));
    platform::RichTextEdit pane(drive.paths());
    pane.setPlainText(QStringLiteral("old"));
    for (const QString &path :
         {QStringLiteral("C:\\KARVEL\\Missing.rtf"), QStringLiteral("C:\\KARVEL\\Folder.rtf"),
          QStringLiteral("Q:\\No drive.rtf")}) {
        try {
            pane.loadFile(path);
            QFAIL("no error");
        } catch (const platform::PlatformError &error) {
            QVERIFY2(error.text().contains(path), qPrintable(error.text()));
        }
        QCOMPARE(pane.toPlainText(), QStringLiteral("old"));
    }
}

void TestRichTextEdit::caretIsClampedAndKeptInView()
{
    // The caret goes where it is told, within the text, and the pane scrolls to show it.
    TempDrive drive;
    platform::RichTextEdit pane(drive.paths());
    pane.resize(300, 120);
    pane.show();
    QVERIFY(QTest::qWaitForWindowExposed(&pane));
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines << QStringLiteral("Line %1 of the song").arg(i);
    pane.loadBytes(lines.join(QLatin1Char('\n')).toUtf8());
    QCOMPARE(pane.verticalScrollBar()->value(), 0);

    pane.setCaretPosition(pane.textLength() / 2);
    QCOMPARE(pane.textCursor().position(), pane.textLength() / 2);
    const int middle = pane.verticalScrollBar()->value();
    QVERIFY(middle > 0);
    QVERIFY(pane.cursorRect().top() >= 0 &&
            pane.cursorRect().bottom() <= pane.viewport()->height());

    pane.setCaretPosition(pane.textLength() + 1000);
    QCOMPARE(pane.textCursor().position(), pane.textLength());
    QVERIFY(pane.verticalScrollBar()->value() > middle);
    QVERIFY(pane.cursorRect().top() >= 0 &&
            pane.cursorRect().bottom() <= pane.viewport()->height());

    pane.setCaretPosition(-5);
    QCOMPARE(pane.textCursor().position(), 0);
    QVERIFY(pane.verticalScrollBar()->value() < middle);
    QVERIFY(pane.cursorRect().top() >= 0 &&
            pane.cursorRect().bottom() <= pane.viewport()->height());
}

void TestRichTextEdit::loadingStartsAfreshAtTheTop()
{
    // A load replaces typed text, puts the caret at the start and leaves nothing to undo.
    TempDrive drive;
    platform::RichTextEdit pane(drive.paths());
    pane.loadBytes("first text");
    pane.setCaretPosition(5);
    QTest::keyClicks(&pane, QStringLiteral("typed "));
    QVERIFY(pane.toPlainText().contains(QLatin1String("typed")));
    pane.loadBytes("second");
    QCOMPARE(pane.toPlainText(), QStringLiteral("second"));
    QCOMPARE(pane.textCursor().position(), 0);
    QVERIFY(!pane.document()->isUndoAvailable());
    QVERIFY(!pane.document()->isModified());
}

void TestRichTextEdit::keyDownIsToldAndTheKeyStillTyped()
{
    // A space in the pane is reported with its modifiers, and still goes into the text.
    TempDrive drive;
    platform::RichTextEdit pane(drive.paths());
    pane.loadBytes("ab");
    pane.setCaretPosition(1);
    QSignalSpy keys(&pane, &platform::RichTextEdit::keyDown);
    QTest::keyClick(&pane, Qt::Key_Space, Qt::ShiftModifier);
    // The Shift key itself goes down first, as on Windows.
    QCOMPARE(keys.size(), 2);
    QCOMPARE(keys[0][0].toInt(), int(Qt::Key_Shift));
    QCOMPARE(keys[1][0].toInt(), int(Qt::Key_Space));
    QCOMPARE(keys[1][1].value<Qt::KeyboardModifiers>(), Qt::KeyboardModifiers(Qt::ShiftModifier));
    QCOMPARE(pane.toPlainText(), QStringLiteral("a b"));
}

void TestRichTextEdit::paneSettings()
{
    // Editable, wrapping at its width, vertical scroll bar always there, none across.
    TempDrive drive;
    platform::RichTextEdit pane(drive.paths());
    QVERIFY(!pane.isReadOnly());
    QCOMPARE(pane.lineWrapMode(), QTextEdit::WidgetWidth);
    QCOMPARE(pane.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(pane.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

void TestRichTextEdit::selectionKeepsItsColoursWithoutFocus()
{
    // The selection is drawn alike with and without focus, also after the owner's palette.
    TempDrive drive;
    platform::RichTextEdit pane(drive.paths());
    QPalette colours = pane.palette();
    colours.setColor(QPalette::Active, QPalette::Highlight, Qt::darkRed);
    colours.setColor(QPalette::Inactive, QPalette::Highlight, Qt::lightGray);
    colours.setColor(QPalette::Base, QColor(255, 251, 240));
    pane.setPalette(colours);
    QCOMPARE(pane.palette().color(QPalette::Inactive, QPalette::Highlight), QColor(Qt::darkRed));
    QCOMPARE(pane.palette().color(QPalette::Inactive, QPalette::HighlightedText),
             pane.palette().color(QPalette::Active, QPalette::HighlightedText));
    QCOMPARE(pane.palette().color(QPalette::Base), QColor(255, 251, 240));
}

QTEST_MAIN(TestRichTextEdit)
#include "tst_richtextedit.moc"
