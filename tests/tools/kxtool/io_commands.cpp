// kxtool subcommands over the foundation's streams and XML: resave an XML
// file through the node tree, print a file through the gzip read stream,
// write standard input through the gzip write stream.
#include <cstdio>

#include "foundation/btkerror.h"
#include "foundation/btkfile.h"
#include "foundation/btkstream.h"
#include "foundation/btkxml.h"
#include "kxtool.h"

namespace {

int xmlResave(const kxtool::Args& a) {
    if (a.size() < 2 || a.size() > 3) return kxtool::usageError("xml-resave IN OUT [ENCODING]");
    try {
        btkXMLNode tree;
        tree.load(a[0].c_str());
        tree.save(a[1].c_str(), a.size() == 3 ? a[2].c_str() : "Windows-1250");
    } catch (const btkError& e) {
        std::fprintf(stderr, "kxtool: %s\n", e.what());
        return 1;
    }
    return 0;
}

int gzipCat(const kxtool::Args& a) {
    if (a.size() != 1) return kxtool::usageError("gzip-cat FILE");
    btkGZReadStream in(a[0].c_str(), "rb");
    if (!in.isOpen()) {
        std::fprintf(stderr, "kxtool: cannot open %s\n", a[0].c_str());
        return 1;
    }
    char buf[65536];
    for (int n; (n = in.read(buf, sizeof buf)) > 0;) std::fwrite(buf, 1, static_cast<size_t>(n), stdout);
    if (in.failed()) {
        std::fprintf(stderr, "kxtool: %s: %s\n", a[0].c_str(), in.errorText().c_str());
        return 1;
    }
    return 0;
}

int gzipWrite(const kxtool::Args& a) {
    if (a.size() != 1) return kxtool::usageError("gzip-write FILE  (stdin)");
    std::string data = kxtool::readStdin();
    try {
        btkSaveFile(a[0].c_str(), btkSaveFormat::GZip,
                    [&](btkWriteStream& out) { out.write(data.data(), static_cast<int>(data.size())); });
    } catch (const btkError& e) {
        std::fprintf(stderr, "kxtool: %s\n", e.what());
        return 1;
    }
    return 0;
}

KXTOOL_COMMAND("xml-resave", "xml-resave IN OUT [ENCODING]", xmlResave);
KXTOOL_COMMAND("gzip-cat", "gzip-cat FILE", gzipCat);
KXTOOL_COMMAND("gzip-write", "gzip-write FILE  (stdin)", gzipWrite);

}  // namespace
