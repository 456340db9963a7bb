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
// proposed as defaultName + ".pdf" in the folder of the PDF file chosen
// last while it exists, otherwise in firstFolder (the user's home folder
// when that is "" or no folder); an existing file is overwritten only after the
// user agrees ("Ne" shows the dialog again). On OK the path is written to
// file; false when the user cancels.
[[nodiscard]] bool btkChoosePdfFile(const btkstring& defaultName, const btkstring& firstFolder, btkstring& file);

// The printer dialog of one print job on the shared printer set-up. With a
// system printer it is Qt's print dialog: the printer, paper, orientation
// and margins chosen there stay in the shared set-up for later jobs and new
// song books (printing to a file keeps the shared printer). Without one it
// is the PDF file choice of btkChoosePdfFile. On OK file is this job's PDF
// file ("" to print on the printer); false on cancel, set-up unchanged.
[[nodiscard]] bool btkRunPrintDialog(const btkstring& documentName, const btkstring& firstFolder, btkstring& file);

// Registers the program's printer maker (btkSetPrinterMaker): a btkWinPrinter
// on a copy of the shared printer properties in the asked orientation (the
// PDF page where there is no printer).
void btkInstallPrinterMaker();
