#include "kit/boardbuttons.h"

#include "kit/boardlayout.h"
#include "platform/speedbutton/speedbutton.h"

namespace {

constexpr int themeGroup = 21;
constexpr int songGroup = 23;
const QString themeHint = QStringLiteral("Левая кнопка мыши выбирает Жанр, Правая кнопка обновляет данные ");
const QString songHint = QStringLiteral("Левая кнопка мыши запускает Song, Правая кнопка обновляет данные о Song");

QFont arial(int pixels)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(true);
    return font;
}

platform::SpeedButton *makeButton(QWidget *board, const boardlayout::ButtonPlace &place, int group, int fontPixels,
                                  const QString &caption, const QString &hint, const QPixmap &glyph)
{
    auto *button = new platform::SpeedButton(board);
    button->setGeometry(place.bounds);
    button->setGroupIndex(group);
    button->setHandCursor(true);
    button->setFont(arial(fontPixels));
    button->setCaptionColor(place.captionColor);
    button->setText(caption);
    button->setToolTip(hint);
    button->setGlyph(glyph);
    button->setMargin(1);
    button->setSpacing(2);
    return button;
}

} // namespace

void buildBoardButtons(QWidget *board, std::array<platform::SpeedButton *, 21> &themes,
                       std::array<platform::SpeedButton *, 51> &songs)
{
    const QPixmap themeGlyph(QStringLiteral(":/glyphs/theme.svg"));
    const QPixmap songGlyph(QStringLiteral(":/glyphs/song.svg"));

    // Down at design time, so that no visible theme button is down before start-up.
    auto *designDown = new platform::SpeedButton(board);
    designDown->setObjectName(QStringLiteral("SpeedButton3"));
    designDown->setGroupIndex(themeGroup);
    designDown->setDown(true);
    designDown->hide();

    for (const boardlayout::ButtonPlace &place : boardlayout::themeButtons()) {
        platform::SpeedButton *button =
            makeButton(board, place, themeGroup, 13, QStringLiteral("Empty Tema Button"), themeHint, themeGlyph);
        button->setObjectName(QStringLiteral("SpeedButtonTema%1").arg(place.number));
        themes[place.number] = button;
    }
    for (const boardlayout::ButtonPlace &place : boardlayout::songButtons()) {
        if (place.number == 0) {
            platform::SpeedButton *button = makeButton(board, place, songGroup, 19, place.debugCaption, songHint, songGlyph);
            button->setObjectName(place.debugCaption.endsWith(u'A') ? QStringLiteral("SpeedButton2")
                                                                     : QStringLiteral("SpeedButton1"));
            continue;
        }
        platform::SpeedButton *button =
            makeButton(board, place, songGroup, 19, QStringLiteral("Empty Song Button"), songHint, songGlyph);
        button->setObjectName(QStringLiteral("SpeedButtonSong%1").arg(place.number, 2, 10, QChar(u'0')));
        songs[place.number] = button;
    }
}
