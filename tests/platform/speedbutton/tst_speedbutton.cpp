#include "platform/speedbutton/speedbutton.h"

#include <QApplication>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

using platform::SpeedButton;

namespace {

QString downPattern(const QList<SpeedButton *> &buttons)
{
    QString pattern;
    for (const SpeedButton *button : buttons)
        pattern += button->isDown() ? u'D' : u'-';
    return pattern;
}

void setPattern(const QList<SpeedButton *> &buttons, const QString &pattern)
{
    for (int i = 0; i < buttons.size(); ++i) {
        if (pattern[i] == u'D')
            buttons[i]->setDown(true);
    }
}

QPixmap solidGlyph(int side, const QColor &color, const QColor &bottomLeft)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(color);
    image.setPixelColor(0, side - 1, bottomLeft);
    return QPixmap::fromImage(image);
}

} // namespace

/** Three buttons of group 5 and one of group 0 on one window. */
class Board
{
public:
    explicit Board(bool allowAllUp)
    {
        window.resize(400, 200);
        for (int i = 0; i < 3; ++i) {
            auto *button = new SpeedButton(&window);
            button->setGeometry(10 + 110 * i, 10, 100, 30);
            button->setGroupIndex(5);
            grouped.append(button);
        }
        grouped[0]->setAllowAllUp(allowAllUp);
        loose = new SpeedButton(&window);
        loose->setGeometry(10, 60, 100, 30);
        window.show();
    }

    QWidget window;
    QList<SpeedButton *> grouped;
    SpeedButton *loose = nullptr;
};

class TestSpeedButton : public QObject
{
    Q_OBJECT

private slots:
    void leftClickRules_data();
    void leftClickRules();
    void stateChangesBeforeClickHandler();
    void setDownFiresNothing();
    void setDownRules_data();
    void setDownRules();
    void otherMouseButtons_data();
    void otherMouseButtons();
    void mouseDownComesFirst();
    void releaseOutsideIsNoClick();
    void groupsBelongToOneParent();
    void allowAllUpAppliesToGroup();
    void disabledButtonIgnoresMouse();
    void mouseDownHandlerMayDisable();
    void glyphAtMarginAndSpacing();
    void glyphBottomLeftColourIsTransparent();
    void downLookDiffersFromUp();
    void handCursorAndHint();
    void keysAreLeftToTheWindow();
    void doubleClickIsTwoClicks();
    void downPropertyIsTheButtons();
    void glyphCentredWithoutMargin();
    void glyphImagesSideBySide_data();
    void glyphImagesSideBySide();
    void mnemonicActsAsClick();
};

void TestSpeedButton::leftClickRules_data()
{
    QTest::addColumn<bool>("allowAllUp");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("clicked");
    QTest::addColumn<QString>("after");

    QTest::newRow("up button goes down") << false << "---" << 1 << "-D-";
    QTest::newRow("partner goes up") << false << "D--" << 2 << "--D";
    QTest::newRow("down button stays down") << false << "-D-" << 1 << "-D-";
    QTest::newRow("all up: down button goes up") << true << "-D-" << 1 << "---";
    QTest::newRow("all up: partner goes up") << true << "-D-" << 0 << "D--";
    QTest::newRow("all up: from all up") << true << "---" << 2 << "--D";
}

// A left click changes the group's down button by the all-up rule and emits clicked once.
void TestSpeedButton::leftClickRules()
{
    QFETCH(bool, allowAllUp);
    QFETCH(QString, before);
    QFETCH(int, clicked);
    QFETCH(QString, after);

    Board board(allowAllUp);
    setPattern(board.grouped, before);
    QSignalSpy clicks(board.grouped[clicked], &SpeedButton::clicked);
    QTest::mouseClick(board.grouped[clicked], Qt::LeftButton);
    QCOMPARE(downPattern(board.grouped), after);
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(clicks[0][0].toBool(), after[clicked] == u'D');
}

// The click handler already sees the new down state of the button and of its partners.
void TestSpeedButton::stateChangesBeforeClickHandler()
{
    Board board(false);
    board.grouped[0]->setDown(true);
    QString seen;
    connect(board.grouped[2], &SpeedButton::clicked, this,
            [&] { seen = downPattern(board.grouped); });
    QTest::mouseClick(board.grouped[2], Qt::LeftButton);
    QCOMPARE(seen, QStringLiteral("--D"));

    // A button of group 0 is up again when its handler runs.
    bool looseDown = true;
    connect(board.loose, &SpeedButton::clicked, this, [&] { looseDown = board.loose->isDown(); });
    QTest::mouseClick(board.loose, Qt::LeftButton);
    QVERIFY(!looseDown);
}

// Setting the down state from code emits nothing, from the button or from its partners.
void TestSpeedButton::setDownFiresNothing()
{
    Board board(true);
    board.grouped[0]->setDown(true);
    QList<QSignalSpy *> spies;
    for (SpeedButton *button : board.grouped) {
        spies << new QSignalSpy(button, &SpeedButton::clicked)
              << new QSignalSpy(button, &SpeedButton::mouseDown)
              << new QSignalSpy(button, &SpeedButton::toggled)
              << new QSignalSpy(button, &SpeedButton::pressed);
    }
    board.grouped[1]->setDown(true);
    board.grouped[1]->setDown(false);
    board.grouped[2]->setDown(true);
    QCOMPARE(downPattern(board.grouped), QStringLiteral("--D"));
    for (QSignalSpy *spy : spies)
        QCOMPARE(spy->size(), 0);
    qDeleteAll(spies);
}

void TestSpeedButton::setDownRules_data()
{
    QTest::addColumn<bool>("allowAllUp");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("down");
    QTest::addColumn<QString>("after");

    QTest::newRow("down puts partner up") << false << "D--" << 2 << true << "--D";
    QTest::newRow("up refused without all up") << false << "-D-" << 1 << false << "-D-";
    QTest::newRow("up allowed with all up") << true << "-D-" << 1 << false << "---";
    QTest::newRow("up on an up button") << false << "-D-" << 0 << false << "-D-";
    QTest::newRow("down twice") << false << "-D-" << 1 << true << "-D-";
}

// setDown keeps at most one button of a group down and keeps one down unless all up is allowed.
void TestSpeedButton::setDownRules()
{
    QFETCH(bool, allowAllUp);
    QFETCH(QString, before);
    QFETCH(int, button);
    QFETCH(bool, down);
    QFETCH(QString, after);

    Board board(allowAllUp);
    setPattern(board.grouped, before);
    board.grouped[button]->setDown(down);
    QCOMPARE(downPattern(board.grouped), after);

    // Group 0 is never down.
    board.loose->setDown(true);
    QVERIFY(!board.loose->isDown());
}

void TestSpeedButton::otherMouseButtons_data()
{
    QTest::addColumn<Qt::MouseButton>("mouseButton");
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

// A right or middle click reports mouseDown with its button, keys and position, and nothing else.
void TestSpeedButton::otherMouseButtons()
{
    QFETCH(Qt::MouseButton, mouseButton);

    Board board(false);
    board.grouped[0]->setDown(true);
    SpeedButton *target = board.grouped[1];
    QSignalSpy downs(target, &SpeedButton::mouseDown);
    QSignalSpy clicks(target, &SpeedButton::clicked);
    QTest::mouseClick(target, mouseButton, Qt::ShiftModifier, QPoint(7, 9));
    QCOMPARE(downPattern(board.grouped), QStringLiteral("D--"));
    QCOMPARE(clicks.size(), 0);
    QCOMPARE(downs.size(), 1);
    QCOMPARE(downs[0][0].value<Qt::MouseButton>(), mouseButton);
    QCOMPARE(downs[0][1].value<Qt::KeyboardModifiers>(), Qt::KeyboardModifiers(Qt::ShiftModifier));
    QCOMPARE(downs[0][2].toPoint(), QPoint(7, 9));
}

// mouseDown comes on the press, before the down state changes and before clicked.
void TestSpeedButton::mouseDownComesFirst()
{
    Board board(false);
    SpeedButton *target = board.grouped[1];
    QStringList events;
    connect(target, &SpeedButton::mouseDown, this, [&](Qt::MouseButton button) {
        events << QStringLiteral("down %1 %2").arg(int(button)).arg(downPattern(board.grouped));
    });
    connect(target, &SpeedButton::clicked, this,
            [&] { events << QStringLiteral("click %1").arg(downPattern(board.grouped)); });
    QTest::mousePress(target, Qt::LeftButton);
    QCOMPARE(events, QStringList{QStringLiteral("down 1 ---")});
    QTest::mouseRelease(target, Qt::LeftButton);
    QCOMPARE(events, (QStringList{QStringLiteral("down 1 ---"), QStringLiteral("click -D-")}));
}

// A press that is released off the button changes nothing and emits no click.
void TestSpeedButton::releaseOutsideIsNoClick()
{
    Board board(false);
    SpeedButton *target = board.grouped[0];
    QSignalSpy clicks(target, &SpeedButton::clicked);
    QTest::mousePress(target, Qt::LeftButton);
    QTest::mouseRelease(target, Qt::LeftButton, {}, QPoint(150, 15));
    QCOMPARE(clicks.size(), 0);
    QCOMPARE(downPattern(board.grouped), QStringLiteral("---"));
}

// Buttons with the same group index under different parents are separate groups.
void TestSpeedButton::groupsBelongToOneParent()
{
    QWidget window;
    auto *left = new QWidget(&window);
    auto *right = new QWidget(&window);
    auto *a = new SpeedButton(left);
    auto *b = new SpeedButton(right);
    auto *grandchild = new SpeedButton(new QWidget(left));
    for (SpeedButton *button : {a, b, grandchild})
        button->setGroupIndex(21);
    a->setDown(true);
    b->setDown(true);
    grandchild->setDown(true);
    QVERIFY(a->isDown());
    QVERIFY(b->isDown());
    QVERIFY(grandchild->isDown());

    // A down button joining a group puts the group's down button up.
    auto *late = new SpeedButton(left);
    late->setGroupIndex(22);
    late->setDown(true);
    late->setGroupIndex(21);
    QVERIFY(late->isDown());
    QVERIFY(!a->isDown());
}

// allowAllUp set on one button holds for every button of its group.
void TestSpeedButton::allowAllUpAppliesToGroup()
{
    Board board(true);
    for (SpeedButton *button : board.grouped)
        QVERIFY(button->allowAllUp());
    QVERIFY(!board.loose->allowAllUp());
    board.grouped[2]->setAllowAllUp(false);
    QVERIFY(!board.grouped[0]->allowAllUp());
}

// A disabled button takes no press: no mouseDown, no click, no change.
void TestSpeedButton::disabledButtonIgnoresMouse()
{
    Board board(false);
    SpeedButton *target = board.grouped[0];
    target->setEnabled(false);
    QSignalSpy downs(target, &SpeedButton::mouseDown);
    QSignalSpy clicks(target, &SpeedButton::clicked);
    QTest::mouseClick(target, Qt::LeftButton);
    QTest::mouseClick(target, Qt::RightButton);
    QCOMPARE(downs.size(), 0);
    QCOMPARE(clicks.size(), 0);
    QVERIFY(!target->isDown());
}

// A mouse-down handler that disables the button stops the press from becoming a click.
void TestSpeedButton::mouseDownHandlerMayDisable()
{
    Board board(false);
    SpeedButton *target = board.grouped[0];
    connect(target, &SpeedButton::mouseDown, target, [target] { target->setEnabled(false); });
    QSignalSpy clicks(target, &SpeedButton::clicked);
    QTest::mouseClick(target, Qt::LeftButton);
    QCOMPARE(clicks.size(), 0);
    QVERIFY(!target->isDown());
}

// The glyph sits `margin` pixels inside the frame and the caption `spacing` pixels after it.
void TestSpeedButton::glyphAtMarginAndSpacing()
{
    SpeedButton button;
    button.resize(200, 34);
    button.setGlyph(solidGlyph(10, Qt::red, Qt::green));
    button.setMargin(1);
    button.setSpacing(2);
    button.setText(QStringLiteral("IIII"));
    button.setCaptionColor(Qt::blue);
    const QImage image = button.grab().toImage();

    const int frame = 2;
    const int middle = 17;
    QCOMPARE(image.pixelColor(frame, middle), button.palette().button().color());
    QCOMPARE(image.pixelColor(frame + 1, middle), QColor(Qt::red));
    QCOMPARE(image.pixelColor(frame + 10, middle), QColor(Qt::red));

    int firstCaptionColumn = -1;
    for (int x = 0; x < image.width() && firstCaptionColumn < 0; ++x) {
        for (int y = 0; y < image.height(); ++y) {
            const QColor c = image.pixelColor(x, y);
            if (c.blue() > 150 && c.red() < 100 && c.green() < 100) {
                firstCaptionColumn = x;
                break;
            }
        }
    }
    const int captionStart = frame + 1 + 10 + 2;
    QVERIFY2(firstCaptionColumn >= captionStart && firstCaptionColumn <= captionStart + 3,
             qPrintable(QString::number(firstCaptionColumn)));

    // The size hint leaves room for margin, glyph, spacing and caption.
    QVERIFY(button.sizeHint().width() >=
            2 * frame + 2 + 10 + 2 + button.fontMetrics().horizontalAdvance(u"IIII"_qs));
}

// Glyph pixels of the bottom-left pixel's colour are not drawn, as with Windows glyph bitmaps.
void TestSpeedButton::glyphBottomLeftColourIsTransparent()
{
    SpeedButton button;
    button.resize(60, 30);
    button.setMargin(1);
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setPixelColor(5, 5, Qt::red);
    button.setGlyph(QPixmap::fromImage(image));
    const QImage shown = button.grab().toImage();
    const int top = 2 + (26 - 10) / 2;
    QCOMPARE(shown.pixelColor(3 + 5, top + 5), QColor(Qt::red));
    QCOMPARE(shown.pixelColor(3 + 1, top + 1), button.palette().button().color());
}

// A down button looks clearly different from an up one, and a disabled one from an enabled one.
void TestSpeedButton::downLookDiffersFromUp()
{
    Board board(false);
    SpeedButton *target = board.grouped[0];
    target->setText(QStringLiteral("Text"));
    const QImage up = target->grab().toImage();
    target->setDown(true);
    const QImage down = target->grab().toImage();
    target->setEnabled(false);
    const QImage downDisabled = target->grab().toImage();

    int changed = 0;
    for (int y = 0; y < up.height(); ++y) {
        for (int x = 0; x < up.width(); ++x)
            changed += up.pixel(x, y) != down.pixel(x, y);
    }
    QVERIFY2(changed > up.width() * up.height() / 4, qPrintable(QString::number(changed)));
    QVERIFY(down != downDisabled);
}

// The hand cursor and the hint are the button's own settings.
void TestSpeedButton::handCursorAndHint()
{
    SpeedButton button;
    button.setHandCursor(true);
    QCOMPARE(button.cursor().shape(), Qt::PointingHandCursor);
    button.setHandCursor(false);
    QCOMPARE(button.cursor().shape(), Qt::ArrowCursor);
    button.setToolTip(QStringLiteral("Play or Stop"));
    QCOMPARE(button.toolTip(), QStringLiteral("Play or Stop"));
}

// A speed button takes no focus and no keys, so the space bar stays with its window.
void TestSpeedButton::keysAreLeftToTheWindow()
{
    Board board(false);
    SpeedButton *target = board.grouped[0];
    QCOMPARE(target->focusPolicy(), Qt::NoFocus);
    QSignalSpy clicks(target, &SpeedButton::clicked);
    QTest::keyClick(target, Qt::Key_Space);
    QCOMPARE(clicks.size(), 0);
    QVERIFY(!target->isDown());
}

// A double click is two presses and two clicks: a play button goes down and up again.
void TestSpeedButton::doubleClickIsTwoClicks()
{
    Board board(true);
    SpeedButton *target = board.grouped[0];
    QSignalSpy downs(target, &SpeedButton::mouseDown);
    QList<bool> states;
    connect(target, &SpeedButton::clicked, this, [&](bool down) { states << down; });
    // Through the window, as the window system delivers it: the second press comes as a double
    // click only.
    QWindow *window = board.window.windowHandle();
    const QPoint at = target->mapTo(&board.window, QPoint(5, 5));
    QTest::mouseDClick(window, Qt::LeftButton, {}, at, 1000); // apart from earlier clicks
    QCOMPARE(downs.size(), 2);
    QCOMPARE(states, (QList<bool>{true, false}));
}

// Alt with the caption's marked letter does what a left click does.
void TestSpeedButton::mnemonicActsAsClick()
{
    Board board(false);
    SpeedButton *target = board.grouped[1];
    target->setText(QStringLiteral("&Kits"));
    QApplication::setActiveWindow(&board.window);
    QSignalSpy clicks(target, &SpeedButton::clicked);
    QTest::keyClick(&board.window, Qt::Key_K, Qt::AltModifier);
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(downPattern(board.grouped), QStringLiteral("-D-"));
}

// The "down" property is the speed button's own down state, with its group rules.
void TestSpeedButton::downPropertyIsTheButtons()
{
    Board board(false);
    board.grouped[0]->setDown(true);
    QVERIFY(board.grouped[1]->setProperty("down", true));
    QCOMPARE(downPattern(board.grouped), QStringLiteral("-D-"));
    QCOMPARE(board.grouped[1]->property("down").toBool(), true);
    QVERIFY(board.grouped[1]->setProperty("groupIndex", 0));
    QVERIFY(!board.grouped[1]->isDown());
}

// With the default margin of -1 a glyph without caption sits in the middle of the button.
void TestSpeedButton::glyphCentredWithoutMargin()
{
    SpeedButton button;
    button.resize(77, 50);
    button.setGlyph(solidGlyph(11, Qt::red, Qt::green));
    const QImage shown = button.grab().toImage();
    const int left = 2 + (73 - 11) / 2;
    QCOMPARE(shown.pixelColor(left, 25), QColor(Qt::red));
    QCOMPARE(shown.pixelColor(left + 10, 25), QColor(Qt::red));
    QVERIFY(shown.pixelColor(left - 1, 25) != QColor(Qt::red));
    QVERIFY(shown.pixelColor(left + 11, 25) != QColor(Qt::red));
}

void TestSpeedButton::glyphImagesSideBySide_data()
{
    QTest::addColumn<int>("images");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("down");
    QTest::addColumn<bool>("pressed"); // the left mouse button is held on it
    QTest::addColumn<QColor>("shown"); // the colour in the middle of the glyph

    const QColor grey = QColor(Qt::transparent); // any colour but the four below: a greyed up image
    QTest::newRow("four, up") << 4 << true << false << false << QColor(Qt::red);
    QTest::newRow("four, disabled") << 4 << false << false << false << QColor(Qt::green);
    QTest::newRow("four, down") << 4 << true << true << false << QColor(Qt::yellow);
    QTest::newRow("four, pressed") << 4 << true << false << true << QColor(Qt::blue);
    QTest::newRow("three, down shows up") << 3 << true << true << false << QColor(Qt::red);
    QTest::newRow("two, down shows up") << 2 << true << true << false << QColor(Qt::red);
    QTest::newRow("two, disabled") << 2 << false << false << false << QColor(Qt::green);
    QTest::newRow("one, disabled is greyed") << 1 << false << false << false << grey;
    QTest::newRow("five is one wide picture") << 5 << true << false << false << QColor(Qt::red);
}

// A glyph of two to four square images shows the one for the state: up, disabled, pressed, down.
void TestSpeedButton::glyphImagesSideBySide()
{
    QFETCH(int, images);
    QFETCH(bool, enabled);
    QFETCH(bool, down);
    QFETCH(bool, pressed);
    QFETCH(QColor, shown);

    const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::cyan};
    QImage strip(10 * images, 10, QImage::Format_RGB32);
    for (int i = 0; i < images; ++i) {
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 10; ++x)
                strip.setPixelColor(10 * i + x, y, colours[i]);
        }
    }
    // A Windows glyph is transparent where it has its bottom-left pixel's colour: keep that apart.
    strip.setPixelColor(0, 9, Qt::white);
    QWidget parent;
    auto *button = new SpeedButton(&parent);
    button->resize(100, 30);
    button->setGroupIndex(1);
    button->setMargin(1);
    button->setGlyph(QPixmap::fromImage(strip));
    button->setText(QStringLiteral("x"));
    button->setDown(down);
    button->setEnabled(enabled);
    QCOMPARE(button->glyphCount(), images <= 4 ? images : 1);
    parent.show();
    if (pressed)
        QTest::mousePress(button, Qt::LeftButton);

    const int offset = down || pressed ? 1 : 0;
    const QColor middle = button->grab().toImage().pixelColor(2 + 1 + 5 + offset, 15 + offset);
    if (pressed)
        QTest::mouseRelease(button, Qt::LeftButton);
    if (shown == QColor(Qt::transparent)) {
        QVERIFY(middle != QColor(Qt::red));
        QVERIFY(middle.saturation() < 60);
    } else {
        QCOMPARE(middle, shown);
    }
    // The room for the glyph is one image, not the whole strip.
    const int glyphWidth = images <= 4 ? 10 : 50;
    const int caption =
        button->fontMetrics().size(Qt::TextShowMnemonic, QStringLiteral("x")).width();
    QCOMPARE(button->sizeHint().width(), 2 * 2 + 2 * 1 + glyphWidth + button->spacing() + caption);
}

QTEST_MAIN(TestSpeedButton)
#include "tst_speedbutton.moc"
