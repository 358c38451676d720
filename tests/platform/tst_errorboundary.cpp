#include "platform/errorboundary.h"
#include "platform/platformerror.h"
#include "support/scripteddialogs.h"

#include <QApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

using platform::ErrorBoundary;
using platform::PlatformError;

class TestErrorBoundary : public QObject
{
    Q_OBJECT

private slots:
    void showsTheErrorAndSkipsTheRestOfTheHandler();
    void nestedChangeHandlerErrorEndsTheOuterHandler();
    void errorNotPassedOnIsStillShown();
    void timerInAModalLoopShowsItsErrorAtOnce();
};

void TestErrorBoundary::showsTheErrorAndSkipsTheRestOfTheHandler()
{
    // An error in a click handler shows its text in the error box; the handler stops, the program goes on.
    ScriptedDialogs dialogs;
    ErrorBoundary boundary(dialogs);
    QPushButton button;
    QStringList steps;
    QObject::connect(&button, &QPushButton::clicked, &button, boundary.guard([&] {
        steps << "before";
        throw PlatformError(QStringLiteral("Unable to write to pelcor.ini"));
        steps << "after";
    }));

    dialogs.expectError();
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(steps, QStringList{"before"});
    QCOMPARE(dialogs.texts(), QStringList{"Unable to write to pelcor.ini"});

    dialogs.expectError();
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(steps, (QStringList{"before", "before"}));
    QVERIFY(dialogs.scriptDone());
}

void TestErrorBoundary::nestedChangeHandlerErrorEndsTheOuterHandler()
{
    // A change handler's error, fired by a value the outer handler set, ends the outer handler too.
    ScriptedDialogs dialogs;
    ErrorBoundary boundary(dialogs);
    QScrollBar bar;
    bar.setRange(0, 100);
    QPushButton button;
    QStringList steps;
    QObject::connect(&bar, &QScrollBar::valueChanged, &bar, boundary.guard([&](int value) {
        steps << QStringLiteral("change %1").arg(value);
        if (value == 7)
            throw PlatformError(QStringLiteral("mixer failed"));
    }));
    QObject::connect(&button, &QPushButton::clicked, &button, boundary.guard([&] {
        boundary.fire([&] { bar.setValue(3); });
        boundary.fire([&] { bar.setValue(7); });
        steps << "not reached";
    }));

    dialogs.expectError();
    QTest::mouseClick(&button, Qt::LeftButton);
    QCOMPARE(steps, (QStringList{"change 3", "change 7"}));
    QCOMPARE(dialogs.texts(), QStringList{"mixer failed"});
    QCOMPARE(bar.value(), 7);

    // The user moving the bar reaches the handler outside any other: the error is shown at once.
    dialogs.expectError();
    bar.setValue(0);
    bar.setValue(7);
    QCOMPARE(dialogs.texts().size(), 2);
    QVERIFY(dialogs.scriptDone());
}

void TestErrorBoundary::errorNotPassedOnIsStillShown()
{
    // A nested error that no fire() passed on is shown when the outer handler ends, never lost.
    ScriptedDialogs dialogs;
    ErrorBoundary boundary(dialogs);
    QScrollBar bar;
    QObject::connect(&bar, &QScrollBar::valueChanged, &bar,
                     boundary.guard([](int) { throw PlatformError(QStringLiteral("lost?")); }));
    bool finished = false;
    dialogs.expectError();
    boundary.run([&] {
        bar.setValue(5);
        finished = true;
    });
    QVERIFY(finished);
    QCOMPARE(dialogs.texts(), QStringList{"lost?"});
}

void TestErrorBoundary::timerInAModalLoopShowsItsErrorAtOnce()
{
    // A timer's error while a handler's modal window is open is shown then, and does not end that handler.
    ScriptedDialogs dialogs;
    ErrorBoundary boundary(dialogs);
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &timer,
                     boundary.guard([] { throw PlatformError(QStringLiteral("poll failed")); }));
    QStringList steps;
    dialogs.expectError();
    boundary.run([&] {
        QEventLoop modal;
        QTimer::singleShot(0, &timer, [&] { timer.timeout({}); });
        QTimer::singleShot(0, &modal, [&] {
            steps << QStringLiteral("shown %1").arg(dialogs.shown().size());
            modal.quit();
        });
        modal.exec();
        QScrollBar bar;
        boundary.fire([&] { bar.setValue(1); });
        steps << "after the window";
    });
    QCOMPARE(steps, (QStringList{"shown 1", "after the window"}));
    QCOMPARE(dialogs.texts(), QStringList{"poll failed"});
}

QTEST_MAIN(TestErrorBoundary)
#include "tst_errorboundary.moc"
