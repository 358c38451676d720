#include "platform/shell/shell.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QTest>
#include <QUrl>

/** Catches what the desktop shell hands to the desktop, in place of a browser or mail program. */
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void take(const QUrl &url) { urls.append(url); }
};

class TestDesktopShell : public QObject
{
    Q_OBJECT

private slots:
    void passesOnlyMailAndWebLinks_data();
    void passesOnlyMailAndWebLinks();
};

void TestDesktopShell::passesOnlyMailAndWebLinks_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("opened");
    QTest::newRow("mail") << "mailto:karvel@example.org" << true;
    QTest::newRow("web") << "https://www.example.org/karvel/" << true;
    QTest::newRow("plain web") << "HTTP://www.example.org/" << true;
    QTest::newRow("local file") << "file:///bin/sh" << false;
    QTest::newRow("bare path") << "/usr/bin/xterm" << false;
    QTest::newRow("other scheme") << "javascript:alert(1)" << false;
    QTest::newRow("empty") << "" << false;
}

void TestDesktopShell::passesOnlyMailAndWebLinks()
{
    // A mail or web link reaches the desktop's handler; anything that could start a local program
    // does not.
    QFETCH(QString, target);
    QFETCH(bool, opened);
    UrlCatcher catcher;
    for (const char *scheme : {"mailto", "http", "https", "file", "javascript"})
        QDesktopServices::setUrlHandler(QLatin1String(scheme), &catcher, "take");
    platform::createDesktopShell()->open(target);
    for (const char *scheme : {"mailto", "http", "https", "file", "javascript"})
        QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    QCOMPARE(catcher.urls.size(), opened ? 1 : 0);
    if (opened)
        QCOMPARE(catcher.urls.first(), QUrl(target));
}

QTEST_MAIN(TestDesktopShell)
#include "tst_desktopshell.moc"
