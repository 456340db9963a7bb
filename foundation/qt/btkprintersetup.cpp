#include "foundation/qt/btkprintersetup.h"

#include <QFileDialog>

#include "foundation/qt/btkqstring.h"

btkPrinterProps* getPrinterProps() {
    static btkRef<btkPrinterProps> props;
    if (!props.isSet()) props = new btkPrinterProps();
    return props.get();
}

bool runPrinterSetup() {
    btkPrinterProps* props = getPrinterProps();
    if (!props->isValid()) {
        const QString file = QFileDialog::getSaveFileName(nullptr, QString(), btkToQString(props->outputFile()),
                                                          QStringLiteral("PDF (*.pdf)"));
        if (file.isEmpty()) return false;
        props->setOutputFile(btkFromQString(file));
    }
    return props->pageSetup();
}
