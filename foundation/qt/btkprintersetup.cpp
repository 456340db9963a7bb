#include "foundation/qt/btkprintersetup.h"

#include "foundation/qt/btkdialogs.h"

btkPrinterProps* getPrinterProps() {
    static btkRef<btkPrinterProps> props;
    if (!props.isSet()) props = new btkPrinterProps();
    return props.get();
}

bool runPrinterSetup() { return getPrinterProps()->pageSetup(); }

bool btkChoosePrintTarget(btkPrinterProps* props) {
    if (!props) props = getPrinterProps();
    if (props->canPrint()) return true;
    btkstring file = props->outputFile();
    if (!btkDialogs().saveFile("PDF|*.pdf", "", "pdf", file) || file.empty()) return false;
    props->setOutputFile(file);
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
