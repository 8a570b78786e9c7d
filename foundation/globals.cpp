#include "foundation/globals.h"

// ---- Output size ----
int videoWidth = 400;
int videoHeight = 400;
