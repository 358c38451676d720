#include "kit/boardlayout.h"

#include <array>

namespace boardlayout {

namespace {

constexpr std::array themeLefts{8, 200, 392, 584, 776};
constexpr std::array themeTops{16, 40, 64, 88};
constexpr QSize themeSize(188, 22);

constexpr std::array songLefts{8, 248, 488, 728};
constexpr int songTop = 135;
constexpr int songRowStep = 36;
constexpr QSize songSize(235, 34);

// The lower rows of the song grid; 0 and -1 are DEBUG Button A and B.
constexpr int lowerRows[3][4] = {{48, 41, 43, 45}, {50, 42, 44, 46}, {49, 0, -1, 47}};

QColor columnColor(int column)
{
    static const std::array colors{QColor(0x80, 0, 0), QColor(0, 0x80, 0), QColor(0x80, 0, 0x80), QColor(0, 0, 0xFF)};
    return colors[column];
}

} // namespace

QList<ButtonPlace> themeButtons()
{
    QList<ButtonPlace> places;
    for (int column = 0; column < int(themeLefts.size()); ++column) {
        for (int row = 0; row < int(themeTops.size()); ++row) {
            const int number = column * int(themeTops.size()) + row + 1;
            int left = themeLefts[column];
            switch (number) {
            case 1: left = 9; break;
            case 9: left = 391; break;
            case 13: left = 582; break;
            case 17: left = 775; break;
            default: break;
            }
            places.append({number, {}, QRect(QPoint(left, themeTops[row]), themeSize), QColor(0, 0, 0x80)});
        }
    }
    return places;
}

QList<ButtonPlace> songButtons()
{
    QList<ButtonPlace> places;
    for (int column = 0; column < int(songLefts.size()); ++column) {
        for (int row = 0; row < 13; ++row) {
            int number;
            if (row < 10) {
                number = column * 10 + row + 1;
                if (number == 18)
                    number = 20;
                else if (number == 20)
                    number = 18;
            } else {
                number = lowerRows[row - 10][column];
            }
            QRect bounds(QPoint(songLefts[column], songTop + songRowStep * row), songSize);
            if (number == 15)
                bounds.setWidth(236);
            if (number == 32)
                bounds.setHeight(33);
            if (number == 50)
                bounds.moveLeft(7);
            if (number <= 0) {
                places.append({0, number == 0 ? QStringLiteral("DEBUG Button A") : QStringLiteral("DEBUG Button B"),
                               bounds, QColor(0x80, 0x80, 0x80)});
            } else {
                places.append({number, {}, bounds, columnColor(column)});
            }
        }
    }
    return places;
}

} // namespace boardlayout
