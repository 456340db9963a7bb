// The password scrambler: a password becomes a text of letters and digits
// (two per byte) so that a stored password is not legible at a glance.
#pragma once

#include "foundation/btkstring.h"

btkstring btkScramblePassword(const char* text);
btkstring btkUnscramblePassword(const char* text);
// Position of c in the scrambler's alphabet, 0 when it is not in it.
int btkScrambleDigit(char c);
