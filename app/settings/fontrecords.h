// Font records of the settings (KxFont) to and from the screen fonts the
// windows paint with, through the stored attributes (one element written by
// one side and read by the other), so both read and write alike.
#pragma once

#include "foundation/qt/btkqtfont.h"
#include "songs/fontsettings.h"

void KxFontToTFont(const KxFont& record, btkVCLFont& font);
void KxFontFromTFont(KxFont& record, const btkVCLFont& font);
