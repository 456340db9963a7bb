#include "foundation/qt/btkprintersetup.h"

#include <QDir>
#include <QPrinter>

#include "foundation/btkfile.h"
#include "foundation/qt/btkdialogs.h"
#include "foundation/qt/btkqstring.h"

namespace {

// The folder of the PDF file chosen last ("" before the first).
btkstring& lastPdfFolder() {
    static btkstring folder;
    return folder;
}

btkstring homeFolder() { return btkFromQString(QDir::homePath()); }

}  // namespace

btkPrinterProps* getPrinterProps() {
    static btkRef<btkPrinterProps> props;
    if (!props.isSet()) props = new btkPrinterProps();
    return props.get();
}

bool runPrinterSetup() { return getPrinterProps()->pageSetup(); }

bool btkChoosePdfFile(const btkstring& defaultName, const btkstring& firstFolder, btkstring& file) {
    btkstring path = (defaultName.empty() ? btkstring("kx") : defaultName) + ".pdf";
    // A folder removed since is no place to propose.
    btkstring folder = lastPdfFolder();
    if (folder.empty() || !btkIsDirectory(folder))
        folder = !firstFolder.empty() && btkIsDirectory(firstFolder) ? firstFolder : homeFolder();
    // The save dialog asks before an existing file is overwritten; "Ne"
    // shows the dialog again.
    if (!btkDialogs().saveFile("PDF|*.pdf", folder.c_str(), "pdf", path) || path.empty()) return false;
    lastPdfFolder() = btkFile(path).dirPart();
    file = path;
    return true;
}

bool btkRunPrintDialog(const btkstring& documentName, const btkstring& firstFolder, btkstring& file) {
    btkPrinterProps& props = *getPrinterProps();
    if (!props.isValid()) return btkChoosePdfFile(documentName, firstFolder, file);
    QPrinter printer(QPrinter::HighResolution);
    props.applyTo(printer);
    printer.setDocName(btkToQString(documentName));
    if (!btkDialogs().printDialog(printer)) return false;
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    if (toFile && printer.outputFileName().isEmpty()) return false;
    // Printing to a file is Qt's entry among the printers, not a printer
    // to keep.
    if (!toFile) props.setPrinterName(btkFromQString(printer.printerName()));
    props.setPageLayout(printer.pageLayout());
    file = toFile ? btkFromQString(printer.outputFileName()) : btkstring();
    return true;
}

void btkInstallPrinterMaker() {
    btkSetPrinterMaker([](bool landscape) -> std::unique_ptr<btkPrintDevice> {
        btkRef<btkPrinterProps> props = new btkPrinterProps(*getPrinterProps());
        props->setLandscape(landscape);
        auto printer = std::make_unique<btkWinPrinter>(props.get());
        if (!printer->IsValid()) return nullptr;
        return printer;
    });
}
