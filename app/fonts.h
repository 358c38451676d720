#pragma once

/**
 * Font names of Windows mapped onto fonts Debian has: "LcdD" onto the DSEG seven-segment family,
 * "MS Sans Serif" and "Arial" onto Liberation Sans, which has Arial's metrics.
 */
void installFontSubstitutes();
