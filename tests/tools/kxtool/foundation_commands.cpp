// kxtool subcommands over the foundation core: the password scrambler, Czech
// folding, the folded phrase search and the charset converter.
#include <cstdio>
#include <string>

#include "foundation/btkconverter.h"
#include "foundation/btkfold.h"
#include "foundation/btkscramble.h"
#include "foundation/btkstream.h"
#include "kxtool.h"

namespace {

int scramble(const kxtool::Args& a) {
    if (a.size() != 1) return kxtool::usageError("scramble TEXT");
    std::printf("%s\n", btkScramblePassword(a[0].c_str()).c_str());
    return 0;
}

int unscramble(const kxtool::Args& a) {
    if (a.size() != 1) return kxtool::usageError("unscramble TEXT");
    std::printf("%s\n", btkUnscramblePassword(a[0].c_str()).c_str());
    return 0;
}

int fold(const kxtool::Args&) {
    std::string data = kxtool::readStdin();
    for (char& c : data) c = btkFoldChar(c);
    kxtool::writeStdout(data);
    return 0;
}

int find(const kxtool::Args& a) {
    if (a.size() != 2) return kxtool::usageError("find PHRASE FILE");
    btkFileReadStream in(a[1].c_str(), "rb");
    if (!in.isOpen()) {
        std::fprintf(stderr, "kxtool: cannot open %s\n", a[1].c_str());
        return 1;
    }
    std::string content;
    char buffer[4096];
    for (int n; (n = in.read(buffer, sizeof buffer)) > 0;) content.append(buffer, static_cast<size_t>(n));
    std::puts(btkFoldedFind(a[0].c_str(), btkstring(content.c_str())) ? "found" : "not found");
    return 0;
}

int convert(const kxtool::Args& a) {
    if (a.size() != 2) return kxtool::usageError("convert FROM TO");
    btkConverter converter(a[0].c_str(), a[1].c_str());
    btkstring out = converter.convert(kxtool::readStdin().c_str());
    kxtool::writeStdout(out.c_str(), out.length());
    return 0;
}

KXTOOL_COMMAND("scramble", "scramble TEXT", scramble);
KXTOOL_COMMAND("unscramble", "unscramble TEXT", unscramble);
KXTOOL_COMMAND("fold", "fold  (stdin to stdout)", fold);
KXTOOL_COMMAND("find", "find PHRASE FILE", find);
KXTOOL_COMMAND("convert", "convert FROM TO  (stdin to stdout)", convert);

}  // namespace
