#pragma once

#include <QColor>
#include <QList>
#include <QRect>
#include <QString>

/** Where the board's buttons stand: the placement tables, with their few odd pixels as data. */
namespace boardlayout {

struct ButtonPlace
{
    int number;           // theme 1..20 or song 1..50; 0 for a DEBUG button
    QString debugCaption; // the caption of a DEBUG button
    QRect bounds;         // inside the board
    QColor captionColor;
};

/** The 20 theme buttons, five columns of four, numbered down the columns. */
QList<ButtonPlace> themeButtons();

/** The 50 song buttons and the two DEBUG buttons, four columns of thirteen rows. */
QList<ButtonPlace> songButtons();

} // namespace boardlayout
