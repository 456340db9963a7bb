#include "query/songexpr.h"

#include <cstring>

#include "foundation/btkdatetime.h"
#include "foundation/btkfold.h"
#include "songs/kxsong.h"
#include "songs/songcompare.h"

namespace {

const btkstring trueValue("1");

btkstring truth(bool value) { return value ? trueValue : btkstring(); }

btkstring flag(bool value) { return value ? btkstring("1") : btkstring("0"); }

// atoi of both values; the comparison itself never overflows.
int compareAsNumbers(const btkstring& a, const btkstring& b) {
    const int x = btkAtoi(a);
    const int y = btkAtoi(b);
    return x < y ? -1 : x > y ? 1 : 0;
}

}  // namespace

bool queryValueIsTrue(const btkstring& value) { return !value.empty() && value != "0"; }

// ---- comparisons

btkstring SongEqExpr::evaluate(const KxSong* song) const {
    return truth(left->evaluate(song) == right->evaluate(song));
}

btkstring SongNeqExpr::evaluate(const KxSong* song) const {
    return truth(left->evaluate(song) != right->evaluate(song));
}

btkstring SongInExpr::evaluate(const KxSong* song) const {
    const btkstring text = right->evaluate(song);
    const btkstring phrase = left->evaluate(song);
    return truth(btkFoldedFind(phrase, text));
}

btkstring SongGtExpr::evaluate(const KxSong* song) const {
    return truth(compareAsNumbers(left->evaluate(song), right->evaluate(song)) > 0);
}

btkstring SongLtExpr::evaluate(const KxSong* song) const {
    return truth(compareAsNumbers(left->evaluate(song), right->evaluate(song)) < 0);
}

btkstring SongGeExpr::evaluate(const KxSong* song) const {
    return truth(compareAsNumbers(left->evaluate(song), right->evaluate(song)) >= 0);
}

btkstring SongLeExpr::evaluate(const KxSong* song) const {
    return truth(compareAsNumbers(left->evaluate(song), right->evaluate(song)) <= 0);
}

btkstring SongNotExpr::evaluate(const KxSong* song) const { return truth(!queryValueIsTrue(operand->evaluate(song))); }

// ---- operators of many operands

btkstring SongOrExpr::evaluate(const KxSong* song) const {
    for (const SongExpr* e : operands)
        if (queryValueIsTrue(e->evaluate(song))) return trueValue;
    return btkstring();
}

btkstring SongAndExpr::evaluate(const KxSong* song) const {
    for (const SongExpr* e : operands)
        if (!queryValueIsTrue(e->evaluate(song))) return btkstring();
    return trueValue;
}

btkstring SongCatExpr::evaluate(const KxSong* song) const {
    btkstring joined;
    for (const SongExpr* e : operands) joined += e->evaluate(song);
    return joined;
}

btkstring SongCallExpr::evaluate(const KxSong* song) const {
    if (function != FN_DATE || operands.count() != 1) return btkstring();
    const btkstring value = operands[0]->evaluate(song);
    if (value.empty()) return "0";
    // DateTimeToTime keeps to 32-bit seconds whatever the C library's time
    // range is, so the result always fits the decimal int.
    return btkIntToStr(static_cast<int>(DateTimeToTime(btkDateTime::parse(value))));
}

// ---- leaves

btkstring VarSongExpr::evaluate(const KxSong* song) const { return song->getVar(name); }

btkstring TitleSongExpr::evaluate(const KxSong* song) const { return song->title; }
btkstring GroupSongExpr::evaluate(const KxSong* song) const { return song->group; }
btkstring AuthorSongExpr::evaluate(const KxSong* song) const { return song->author; }
btkstring TextSongExpr::evaluate(const KxSong* song) const { return song->text; }
btkstring RemarkSongExpr::evaluate(const KxSong* song) const { return song->remark; }
btkstring SpecialSongExpr::evaluate(const KxSong* song) const { return song->special; }
btkstring NoNetSongExpr::evaluate(const KxSong* song) const { return flag(song->nonet); }
btkstring NetModifiedSongExpr::evaluate(const KxSong* song) const { return flag(song->netmodified); }
btkstring LocIdSongExpr::evaluate(const KxSong* song) const { return btkIntToStr(song->locid); }
btkstring NetIdSongExpr::evaluate(const KxSong* song) const { return btkIntToStr(song->netid); }

int QueryFieldOf(const char* name) {
    static const struct {
        const char* name;
        int field;
    } names[] = {
        {"TITLE", QF_TITLE},     {"NAZEV", QF_TITLE},     {"GROUP", QF_GROUP}, {"SKUPINA", QF_GROUP},
        {"AUTHOR", QF_AUTHOR},   {"AUTOR", QF_AUTHOR},    {"TEXT", QF_TEXT},   {"REMARK", QF_REMARK},
        {"POZNAMKA", QF_REMARK}, {"SPECIAL", QF_SPECIAL}, {"NONET", QF_NONET}, {"NETMODIFIED", QF_NETMODIFIED},
        {"LOCID", QF_LOCID},     {"NETID", QF_NETID},
    };
    for (const auto& n : names)
        if (std::strcmp(name, n.name) == 0) return n.field;
    return -1;
}

SongExpr* NewSongFieldExpr(int field) {
    switch (field) {
    case QF_TITLE: return new TitleSongExpr;
    case QF_GROUP: return new GroupSongExpr;
    case QF_AUTHOR: return new AuthorSongExpr;
    case QF_TEXT: return new TextSongExpr;
    case QF_REMARK: return new RemarkSongExpr;
    case QF_SPECIAL: return new SpecialSongExpr;
    case QF_NONET: return new NoNetSongExpr;
    case QF_NETMODIFIED: return new NetModifiedSongExpr;
    case QF_LOCID: return new LocIdSongExpr;
    case QF_NETID: return new NetIdSongExpr;
    default: return nullptr;
    }
}
