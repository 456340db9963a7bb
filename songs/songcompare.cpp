#include "songs/songcompare.h"

#include <unicode/ucnv.h>
#include <unicode/ucol.h>

#include <cstdint>
#include <cstring>
#include <ctime>
#include <limits>
#include <vector>

#include "songs/songcolumns.h"

TitleCompare gTitleCompare;
GroupCompare gGroupCompare;
AuthorCompare gAuthorCompare;
RemarkCompare gRemarkCompare;
LOCIDCompare gLOCIDCompare;
NETIDCompare gNETIDCompare;

namespace {

// Windows-1250 to UTF-16, one code unit per byte, made once with ICU's own
// table of the code page.
struct Cp1250Table {
    UChar units[256];
    Cp1250Table() {
        for (int i = 0; i < 256; ++i) units[i] = static_cast<UChar>(i < 128 ? i : 0xFFFD);
        UErrorCode status = U_ZERO_ERROR;
        UConverter* conv = ucnv_open("windows-1250", &status);
        if (U_FAILURE(status)) return;
        for (int i = 128; i < 256; ++i) {
            char byte = static_cast<char>(i);
            UChar out[4];
            UErrorCode s = U_ZERO_ERROR;
            int n = ucnv_toUChars(conv, out, 4, &byte, 1, &s);
            if (U_SUCCESS(s) && n == 1) units[i] = out[0];
        }
        ucnv_close(conv);
    }
};

const Cp1250Table& cp1250() {
    static const Cp1250Table table;
    return table;
}

// The Czech collator at its default (case-sensitive) strength, as the
// Windows comparison without flags orders texts.
UCollator* czechCollator() {
    static UCollator* collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator* c = ucol_open("cs", &status);
        return U_FAILURE(status) ? static_cast<UCollator*>(nullptr) : c;
    }();
    return collator;
}

void toUtf16(const char* text, std::vector<UChar>& out) {
    const Cp1250Table& table = cp1250();
    out.clear();
    for (const char* p = text; *p; ++p) out.push_back(table.units[static_cast<unsigned char>(*p)]);
}

int byteCompare(const char* a, const char* b) {
    int r = std::strcmp(a, b);
    return r < 0 ? -1 : r > 0 ? 1 : 0;
}

int numberCompare(long long a, long long b) { return a < b ? -1 : a > b ? 1 : 0; }

// A stable top-down merge sort over pointers. Every index stays within the
// list whatever the comparator answers, so an inconsistent comparator can
// only give an odd order, never a crash.
template <class T, class Less> void mergeSort(T* data, int count, Less less) {
    if (count < 2) return;
    std::vector<T> buffer(static_cast<size_t>(count));
    for (int width = 1; width < count; width *= 2) {
        for (int lo = 0; lo < count; lo += 2 * width) {
            int mid = lo + width < count ? lo + width : count;
            int hi = lo + 2 * width < count ? lo + 2 * width : count;
            int i = lo, j = mid, k = lo;
            while (i < mid && j < hi) buffer[static_cast<size_t>(k++)] = less(data[j], data[i]) ? data[j++] : data[i++];
            while (i < mid) buffer[static_cast<size_t>(k++)] = data[i++];
            while (j < hi) buffer[static_cast<size_t>(k++)] = data[j++];
        }
        std::memcpy(static_cast<void*>(data), buffer.data(), sizeof(T) * static_cast<size_t>(count));
    }
}

}  // namespace

int LocaleCompare(const char* a, const char* b) {
    if (!a) a = "";
    if (!b) b = "";
    if (!*a && !*b) return 0;
    UCollator* collator = czechCollator();
    if (!collator) return byteCompare(a, b);
    thread_local std::vector<UChar> ua, ub;
    toUtf16(a, ua);
    toUtf16(b, ub);
    UCollationResult r =
        ucol_strcoll(collator, ua.data(), static_cast<int32_t>(ua.size()), ub.data(), static_cast<int32_t>(ub.size()));
    return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0;
}

btkDateTime ParseDateTime(const char* text) { return btkDateTime::parse(text); }

long long DateTimeToTime(const btkDateTime& value) {
    if (!value.valid) return 0;
    // Calendar times are 32-bit signed seconds (callers print them as int):
    // the range ends at 19.1.2038 03:14:07 UTC, not with the year 2037.
    if (value.tm_year < 70) return -1;
    std::tm t = value.toTm();
    const std::time_t r = std::mktime(&t);
    if (r < 0 || r > std::numeric_limits<std::int32_t>::max()) return -1;
    return static_cast<long long>(r);
}

// ---- the fixed orders

int SongCompare::compare(const AbstractSongData*, const AbstractSongData*) const { return 0; }

int TitleCompare::compare(const AbstractSongData* a, const AbstractSongData* b) const {
    int r = LocaleCompare(a->getTitle(), b->getTitle());
    if (r) return r;
    r = LocaleCompare(a->getGroup(), b->getGroup());
    if (r) return r;
    return numberCompare(a->getLocid(), b->getLocid());
}

int GroupCompare::compare(const AbstractSongData* a, const AbstractSongData* b) const {
    int r = LocaleCompare(a->getGroup(), b->getGroup());
    if (r) return r;
    r = LocaleCompare(a->getTitle(), b->getTitle());
    if (r) return r;
    return numberCompare(a->getLocid(), b->getLocid());
}

int AuthorCompare::compare(const AbstractSongData* a, const AbstractSongData* b) const {
    int r = LocaleCompare(a->getAuthor(), b->getAuthor());
    return r ? r : gGroupCompare.compare(a, b);
}

int RemarkCompare::compare(const AbstractSongData* a, const AbstractSongData* b) const {
    int r = LocaleCompare(a->getRemark(), b->getRemark());
    return r ? r : gGroupCompare.compare(a, b);
}

int LOCIDCompare::compare(const AbstractSongData* a, const AbstractSongData* b) const {
    return numberCompare(a->getLocid(), b->getLocid());
}

int NETIDCompare::compare(const AbstractSongData* a, const AbstractSongData* b) const {
    return numberCompare(a->getNetid(), b->getNetid());
}

int CustomColCompare::compare(const AbstractSongData* a, const AbstractSongData* b) const {
    int r = LocaleCompare(a->getVar(variable), b->getVar(variable));
    return r ? r : gGroupCompare.compare(a, b);
}

SongCompare* StandardColumnCompare(int column) {
    switch (column) {
    case COL_TITLE: return &gTitleCompare;
    case COL_GROUP: return &gGroupCompare;
    case COL_AUTHOR: return &gAuthorCompare;
    case COL_REMARK: return &gRemarkCompare;
    case COL_LOCID: return &gLOCIDCompare;
    case COL_NETID: return &gNETIDCompare;
    default: return nullptr;
    }
}

// ---- user-defined orders

CustomCompare::CustomCompare(const btkXMLNode& node) {
    for (int i = 0; i < node.childCount(); ++i) {
        btkXMLNode child = node.child(i);
        auto* item = new CustomCompareItem;
        items.add(item);
        item->colid = SongColumnId(child.attr("colid"));
        item->custom = child.attr("custom");
        item->revert = child.intAttr("revert") != 0;
        item->datatype = child.intAttr("datatype");
    }
}

int CustomCompare::compareItem(const CustomCompareItem& item, const AbstractSongData* a, const AbstractSongData* b) {
    btkstring x, y;
    if (item.colid < 0) {
        x = a->getVar(item.custom);
        y = b->getVar(item.custom);
    } else {
        x = SongDataCellText(a, item.colid);
        y = SongDataCellText(b, item.colid);
    }
    int r;
    switch (item.datatype) {
    case 0: r = LocaleCompare(x, y); break;
    case 1: r = numberCompare(btkAtoi(x), btkAtoi(y)); break;
    case 2: r = numberCompare(DateTimeToTime(ParseDateTime(x)), DateTimeToTime(ParseDateTime(y))); break;
    default: r = 0; break;
    }
    return item.revert ? -r : r;
}

int CustomCompare::compare(const AbstractSongData* a, const AbstractSongData* b) const {
    for (const CustomCompareItem* item : items)
        if (int r = compareItem(*item, a, b)) return r;
    return 0;
}

// ---- sorting

void SortSongsByCompare(const SongCompare* compare, btkCntVec<KxSong*>& songs) {
    if (!compare || songs.count() < 2) return;
    mergeSort(songs.data(), songs.count(), [compare](const KxSong* a, const KxSong* b) {
        return compare->compare(static_cast<const AbstractSongData*>(a), static_cast<const AbstractSongData*>(b)) < 0;
    });
}

void SortByCompare(const SongCompare* compare, btkCntVec<AbstractSongData*>& items) {
    if (!compare || items.count() < 2) return;
    mergeSort(items.data(), items.count(),
              [compare](const AbstractSongData* a, const AbstractSongData* b) { return compare->compare(a, b) < 0; });
}
