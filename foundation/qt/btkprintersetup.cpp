#include "foundation/qt/btkprintersetup.h"

#include <QPrintDialog>
#include <QPrinter>

#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "foundation/qt/btkdialogs.h"
#include "foundation/qt/btkfiledialogs.h"
#include "foundation/qt/btkqstring.h"

namespace {

// The folder of the PDF file chosen last ("" before the first).
btkstring& lastPdfFolder() {
    static btkstring folder;
    return folder;
}

}  // namespace

btkPrinterProps* getPrinterProps() {
    static btkRef<btkPrinterProps> props;
    if (!props.isSet()) props = new btkPrinterProps();
    return props.get();
}

bool runPrinterSetup() { return getPrinterProps()->pageSetup(); }

bool btkChoosePdfFile(const btkstring& defaultName, btkstring& file) {
    btkstring path = (defaultName.empty() ? btkstring("kx") : defaultName) + ".pdf";
    if (!lastPdfFolder().empty()) path = btkFile(lastPdfFolder()).join(path);
    // The question below comes after the extension is added, so it is the
    // only one.
    const bool confirms = btkSetSaveDialogConfirms(false);
    const bool chosen = btkDialogs().saveFile("PDF|*.pdf", "", "pdf", path);
    btkSetSaveDialogConfirms(confirms);
    if (!chosen || path.empty()) return false;
    if (btkFileExists(path) && QuestionBox(btkFormat("Soubor %s už existuje. Přepsat?", path.c_str()), "yn") != 1)
        return false;
    lastPdfFolder() = btkFile(path).dirPart();
    file = path;
    return true;
}

bool btkRunPrintDialog(btkPrinterProps& props, const btkstring& documentName) {
    if (!props.isValid()) {
        btkstring file;
        if (!btkChoosePdfFile(documentName, file)) return false;
        props.setOutputFile(file);
        return true;
    }
    QPrinter printer(QPrinter::HighResolution);
    props.applyTo(printer);
    QPrintDialog dialog(&printer);
    if (dialog.exec() != QDialog::Accepted) return false;
    props.setPrinterName(btkFromQString(printer.printerName()));
    props.setPageLayout(printer.pageLayout());
    props.setOutputFile(printer.outputFormat() == QPrinter::PdfFormat ? btkFromQString(printer.outputFileName())
                                                                      : btkstring());
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
