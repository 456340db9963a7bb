#include "tests/support/fake_printer.h"

namespace kx6test {

btkFont* FakePrinter::makeFont(const btkFontSpec& spec) const {
    return new NamedFont(spec.name.c_str(), (spec.size > 0 ? spec.size : 10) * scale);
}

bool FakePrinter::startDoc(const btkstring& documentName) {
    log.push_back("startDoc(" + std::string(documentName.c_str()) + ")");
    return valid && !failStart;
}

btkCanvas FakePrinter::newPage() {
    log.push_back("newPage");
    return btkCanvas(0, 0, page.sp());
}

}  // namespace kx6test
