#include "foundation/btkprintdevice.h"

#include <utility>

namespace {

btkPrinterMaker& registeredMaker() {
    static btkPrinterMaker maker;
    return maker;
}

}  // namespace

btkPrinterMaker btkSetPrinterMaker(btkPrinterMaker maker) { return std::exchange(registeredMaker(), std::move(maker)); }

std::unique_ptr<btkPrintDevice> btkMakePrinter(bool landscape) {
    const btkPrinterMaker& maker = registeredMaker();
    return maker ? maker(landscape) : nullptr;
}
