// Line ends: song texts hold line feeds, edit controls want carriage return
// and line feed pairs.
#pragma once

#include "foundation/btkstring.h"

// A copy without any carriage return (code 13).
btkstring StripCR(const char* text);
// A copy with a carriage return put before every line feed (code 10).
btkstring AddCR(const char* text);
