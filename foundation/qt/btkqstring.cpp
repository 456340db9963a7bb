#include "foundation/qt/btkqstring.h"

#include <array>
#include <string>
#include <unordered_map>

#include "foundation/btkconverter.h"

namespace {

// Both directions of the Windows-1250 table, built once through iconv.
struct Cp1250Table {
    std::array<char16_t, 256> toUnicode{};
    std::unordered_map<char32_t, unsigned char> fromUnicode;

    Cp1250Table() {
        btkConverter converter("CP1250", "UTF-8");
        for (int b = 0; b < 256; ++b) {
            char16_t u = b < 128 ? static_cast<char16_t>(b) : u'?';
            if (b >= 128 && converter.converts()) {
                const char in[2] = {static_cast<char>(b), 0};
                btkstring utf8 = converter.convert(in);
                QString decoded = QString::fromUtf8(utf8.c_str(), utf8.length());
                if (decoded.size() == 1) u = decoded.at(0).unicode();
            }
            toUnicode[static_cast<size_t>(b)] = u;
            if (b >= 128 && u != u'?') fromUnicode.emplace(u, static_cast<unsigned char>(b));
        }
    }
};

const Cp1250Table& table() {
    static const Cp1250Table t;
    return t;
}

}  // namespace

QString btkToQString(const char* text) {
    if (!text) return QString();
    const Cp1250Table& t = table();
    QString out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
        out.append(QChar(t.toUnicode[*p]));
    return out;
}

btkstring btkFromQString(const QString& text) {
    const Cp1250Table& t = table();
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (const uint code : text.toUcs4()) {
        const char32_t c = code;
        if (c == 0) break;
        if (c < 128) {
            out += static_cast<char>(c);
            continue;
        }
        auto it = t.fromUnicode.find(c);
        out += it == t.fromUnicode.end() ? '?' : static_cast<char>(it->second);
    }
    return btkstring(out.c_str());
}
