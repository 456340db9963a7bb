// The program-wide printer choice and its setup dialog.
#pragma once

#include "foundation/qt/btkprinter.h"

// The shared printer properties, made from the default printer on first use.
btkPrinterProps* getPrinterProps();

// Runs the page setup of the shared printer properties; true on OK. Where no
// printer exists it first asks for the PDF file to print into (false when
// that is cancelled).
bool runPrinterSetup();
