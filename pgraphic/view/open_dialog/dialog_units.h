#pragma once

#include "pgraphic/view/view_rect.h"

class QFont;

// Dialog units: sizes that scale with a dialog's font. A horizontal unit is a quarter of the
// font's average character width, a vertical unit an eighth of its character height.
struct TPGDialogBaseUnits {
    int AverageCharWidth = 0;
    int CharHeight = 0;
};

// The base units from the measured width of the 52 letters "A".."Z" and "a".."z" in a row and
// the font's height; the average is rounded half up, as dialog managers measure it.
TPGDialogBaseUnits PGDialogBaseUnitsFrom(int LettersWidth, int CharHeight);

// The base units of Font.
TPGDialogBaseUnits PGDialogBaseUnits(const QFont& Font);

// Number × Numerator / Denominator in 64 bits, rounded to the nearest integer (halves away from
// zero); 0 for a zero denominator.
int PGMulDiv(int Number, int Numerator, int Denominator);

// A rectangle in dialog units converted to pixels, each edge on its own.
TPGRect PGMapDialogRect(const TPGRect& Units, const TPGDialogBaseUnits& Base);
