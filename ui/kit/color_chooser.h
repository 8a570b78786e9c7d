// Choosing a colour, with 16 custom colours kept for the whole run.
#pragma once

#include "foundation/globals.h"

class QWidget;

// Starts at *colour; on OK writes the chosen colour back and returns 1,
// else 0.
int chooseColor(QWidget* owner, COLORREF* colour);
