#include "foundation/btkstrings.h"

#include <cstring>

void btkSplit(btkStrings& result, const char* text, char delimiter, bool keepEmpty) {
    result.clear();
    if (!text) return;
    const char* start = text;
    for (;;) {
        const char* end = std::strchr(start, delimiter);
        if (!delimiter || !end) end = start + std::strlen(start);
        if (end > start) {
            btkstring piece;
            btkCopyRange(piece.getBuffer(static_cast<int>(end - start)), start, end);
            piece.updateLength();
            result.add(piece);
        } else if (keepEmpty && *end) {
            result.add(btkstring());
        }
        if (!*end) return;
        start = end + 1;
        if (!*start) return;  // a trailing delimiter gives no final piece
    }
}

btkstring btkJoinRange(const btkStrings& list, int first, int last, char separator) {
    if (first < 0) first = 0;
    if (last > list.count()) last = list.count();
    int size = 0;
    for (int i = first; i < last; ++i) size += list[i].length() + 1;
    btkstring out;
    if (size == 0) return out;
    char* p = out.getBuffer(size);
    for (int i = first; i < last; ++i) {
        std::memcpy(p, list[i].c_str(), static_cast<size_t>(list[i].length()));
        p += list[i].length();
        *p++ = separator;
    }
    *p = 0;
    out.updateLength();
    return out;
}

btkstring btkJoin(const btkStrings& list, char separator) { return btkJoinRange(list, 0, list.count(), separator); }
