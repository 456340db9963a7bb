#include "pdf_tools.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kx6test {

std::string commandOutput(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return out;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, n);
    pclose(pipe);
    return out;
}

int pdfPageCount(const std::string& file) {
    const std::string info = commandOutput("pdfinfo '" + file + "' 2>/dev/null");
    const size_t at = info.find("\nPages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 7);
}

std::vector<PdfWord> pdfWords(const std::string& file) {
    // Lines of pdftotext -bbox: <page width=...>, and
    // <word xMin="1.0" yMin="2.0" xMax="3.0" yMax="4.0">text</word>
    const std::string html = commandOutput("pdftotext -bbox '" + file + "' - 2>/dev/null");
    std::vector<PdfWord> words;
    int page = -1;
    size_t pos = 0;
    while (pos < html.size()) {
        size_t end = html.find('\n', pos);
        if (end == std::string::npos) end = html.size();
        std::string line = html.substr(pos, end - pos);
        pos = end + 1;
        line.erase(0, line.find_first_not_of(' '));
        const char* s = line.c_str();
        PdfWord w{page, "", 0, 0, 0, 0};
        int textStart = 0;
        if (std::strncmp(s, "<page ", 6) == 0) {
            ++page;
        } else if (std::sscanf(s, "<word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\">%n", &w.xMin, &w.yMin,
                               &w.xMax, &w.yMax, &textStart) == 4 &&
                   textStart > 0) {
            const char* text = s + textStart;
            const char* close = std::strstr(text, "</word>");
            w.text.assign(text, close ? static_cast<size_t>(close - text) : std::strlen(text));
            words.push_back(w);
        }
    }
    return words;
}

}  // namespace kx6test
