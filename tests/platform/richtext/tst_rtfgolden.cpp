#include "documentdescription.h"
#include "platform/richtext/richtextloader.h"

#include <QDir>
#include <QFile>
#include <QTest>

/** Each folder under tests/data/richtext holds an input file and the document expected from it. */
class TestRtfGolden : public QObject
{
    Q_OBJECT

private slots:
    void readsLikeWordPad_data();
    void readsLikeWordPad();
};

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

} // namespace

void TestRtfGolden::readsLikeWordPad_data()
{
    QTest::addColumn<QString>("folder");
    const QDir root(QStringLiteral(KARVEL_TEST_DATA "/richtext"));
    for (const QString &name : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        QTest::newRow(qPrintable(name)) << root.filePath(name);
}

void TestRtfGolden::readsLikeWordPad()
{
    // The text, runs and paragraph formats read from each file are the expected ones.
    QFETCH(QString, folder);
    const QDir dir(folder);
    const QStringList inputs = dir.entryList({QStringLiteral("input.*")}, QDir::Files);
    QCOMPARE(inputs.size(), 1);
    QTextDocument document;
    QVERIFY(platform::RichTextLoader().load(readFile(dir.filePath(inputs.first())), document));
    const QString actual = describeDocument(document);
    const QString expectedPath = dir.filePath(QStringLiteral("expected.txt"));
    if (qEnvironmentVariableIsSet("KARVEL_WRITE_GOLDEN")) {
        QFile out(expectedPath);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(actual.toUtf8());
    }
    const QString expected = QString::fromUtf8(readFile(expectedPath));
    if (actual != expected) {
        qWarning().noquote() << "actual:\n" << actual;
        QCOMPARE(actual, expected);
    }
}

QTEST_MAIN(TestRtfGolden)
#include "tst_rtfgolden.moc"
