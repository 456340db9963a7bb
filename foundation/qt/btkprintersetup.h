// The program-wide printer choice and its setup dialog.
#pragma once

#include "foundation/qt/btkprinter.h"

// The shared printer properties, made from the default printer on first use.
btkPrinterProps* getPrinterProps();

// Runs the page setup of the shared printer properties; true on OK. Where no
// printer exists it sets up the page of the PDF output (no file is asked
// for until something is printed).
bool runPrinterSetup();

// Asks for the PDF file of one print job through the program's save dialog:
// proposed as defaultName + ".pdf" in the folder last chosen; an existing
// file is overwritten only after the user agrees. On OK the path is written
// to file; false when the user cancels or declines.
[[nodiscard]] bool btkChoosePdfFile(const btkstring& defaultName, btkstring& file);

// The printer dialog of one job on a copy of the shared properties: with a
// system printer Qt's print dialog (printer, paper, print to file), without
// one the PDF file choice. On OK the choice is in props; false on cancel.
[[nodiscard]] bool btkRunPrintDialog(btkPrinterProps& props, const btkstring& documentName);

// Registers the program's printer maker (btkSetPrinterMaker): a btkWinPrinter
// on a copy of the shared printer properties in the asked orientation (the
// PDF page where there is no printer).
void btkInstallPrinterMaker();
