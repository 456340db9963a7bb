// Reading printed PDF files back with poppler's command-line tools.
#pragma once

#include <string>
#include <vector>

namespace kx6test {

// Standard output of a shell command ("" when it cannot run).
std::string commandOutput(const std::string& command);
// The page count pdfinfo reports, -1 when it reports none.
int pdfPageCount(const std::string& file);

// A word as pdftotext -bbox places it: page from 0, box in points from the
// page's top-left corner.
struct PdfWord {
    int page;
    std::string text;
    double xMin, yMin, xMax, yMax;
};
std::vector<PdfWord> pdfWords(const std::string& file);

}  // namespace kx6test
