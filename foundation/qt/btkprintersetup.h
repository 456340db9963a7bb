// The program-wide printer choice and its setup dialog.
#pragma once

#include "foundation/qt/btkprinter.h"

// The shared printer properties, made from the default printer on first use.
btkPrinterProps* getPrinterProps();

// Runs the page setup of the shared printer properties; true on OK. Where no
// printer exists it sets up the page of the PDF output (no file is asked
// for until something is printed).
bool runPrinterSetup();

// Makes the properties (null: the shared ones) ready to print: where there
// is no printer and no PDF file yet, asks for the PDF file through the
// program's save dialog. False when the user cancels.
[[nodiscard]] bool btkChoosePrintTarget(btkPrinterProps* props = nullptr);

// Registers the program's printer maker (btkSetPrinterMaker): a btkWinPrinter
// on a copy of the shared printer properties in the asked orientation; none
// when there is nothing to print on.
void btkInstallPrinterMaker();
