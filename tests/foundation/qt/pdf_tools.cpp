#include "pdf_tools.h"

#include <cstdio>
#include <cstdlib>
#include <regex>

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
    std::smatch m;
    static const std::regex pages(R"re(Pages:\s+(\d+))re");
    return std::regex_search(info, m, pages) ? std::atoi(m[1].str().c_str()) : -1;
}

std::vector<PdfWord> pdfWords(const std::string& file) {
    const std::string html = commandOutput("pdftotext -bbox '" + file + "' - 2>/dev/null");
    static const std::regex item(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    std::vector<PdfWord> words;
    int page = -1;
    for (auto it = std::sregex_iterator(html.begin(), html.end(), item); it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        if (m[5].matched)
            words.push_back({page, m[5].str(), std::atof(m[1].str().c_str()), std::atof(m[2].str().c_str()),
                             std::atof(m[3].str().c_str()), std::atof(m[4].str().c_str())});
        else
            ++page;
    }
    return words;
}

}  // namespace kx6test
