#pragma once

#include <array>

class QWidget;
namespace platform {
class SpeedButton;
}

/**
 * Builds the board's buttons on the board frame from the placement tables: the 20 theme buttons
 * (index = theme number; index 0 unused), the 50 song buttons (index = song number), the two
 * DEBUG buttons and the hidden theme button that is down until start-up presses theme 1.
 */
void buildBoardButtons(QWidget *board, std::array<platform::SpeedButton *, 21> &themes,
                       std::array<platform::SpeedButton *, 51> &songs);
