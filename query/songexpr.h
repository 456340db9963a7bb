// Song expressions of the query language: a parsed condition or value is a
// tree of SongExpr nodes evaluated for one song at a time. Every value is a
// text; a truth value is "1" for true and "" for false.
//
// Each node owns its operands. Evaluation never throws and never fails:
// missing variables read as "", non-numbers as 0.
#pragma once

#include "foundation/btkarray.h"
#include "foundation/btkref.h"
#include "foundation/btkstring.h"

class KxSong;

// False for "" and exactly "0", true for every other text.
bool queryValueIsTrue(const btkstring& value);

class SongExpr {
public:
    SongExpr() = default;
    SongExpr(const SongExpr&) = delete;
    SongExpr& operator=(const SongExpr&) = delete;
    virtual ~SongExpr() = default;
    // The value of the tree for the song.
    virtual btkstring evaluate(const KxSong* song) const = 0;
};

using SongExprPtr = btkAutoPtr<SongExpr>;

// ---- comparisons

class SongBinaryExpr : public SongExpr {
public:
    SongBinaryExpr(SongExpr* left, SongExpr* right) : left(left), right(right) {}

protected:
    SongExprPtr left;
    SongExprPtr right;
};

// Byte for byte equal (case and diacritics count).
class SongEqExpr final : public SongBinaryExpr {
public:
    using SongBinaryExpr::SongBinaryExpr;
    btkstring evaluate(const KxSong* song) const override;
};
class SongNeqExpr final : public SongBinaryExpr {
public:
    using SongBinaryExpr::SongBinaryExpr;
    btkstring evaluate(const KxSong* song) const override;
};
// The left value occurs in the right one by the folded phrase search; the
// right operand is evaluated first.
class SongInExpr final : public SongBinaryExpr {
public:
    using SongBinaryExpr::SongBinaryExpr;
    btkstring evaluate(const KxSong* song) const override;
};
// The four orders compare both values read as integers the atoi way.
class SongGtExpr final : public SongBinaryExpr {
public:
    using SongBinaryExpr::SongBinaryExpr;
    btkstring evaluate(const KxSong* song) const override;
};
class SongLtExpr final : public SongBinaryExpr {
public:
    using SongBinaryExpr::SongBinaryExpr;
    btkstring evaluate(const KxSong* song) const override;
};
class SongGeExpr final : public SongBinaryExpr {
public:
    using SongBinaryExpr::SongBinaryExpr;
    btkstring evaluate(const KxSong* song) const override;
};
class SongLeExpr final : public SongBinaryExpr {
public:
    using SongBinaryExpr::SongBinaryExpr;
    btkstring evaluate(const KxSong* song) const override;
};

class SongNotExpr final : public SongExpr {
public:
    explicit SongNotExpr(SongExpr* operand) : operand(operand) {}
    btkstring evaluate(const KxSong* song) const override;

private:
    SongExprPtr operand;
};

// ---- operators of many operands

class SongPolyExpr : public SongExpr {
public:
    // Appends an operand (owned from now on), keeping the source order.
    void add(SongExpr* operand) { operands.add(operand); }
    int count() const { return operands.count(); }

protected:
    btkObjArray<SongExpr> operands;
};

// Left to right, stopping at the first true operand.
class SongOrExpr final : public SongPolyExpr {
public:
    btkstring evaluate(const KxSong* song) const override;
};
// Left to right, stopping at the first false operand.
class SongAndExpr final : public SongPolyExpr {
public:
    btkstring evaluate(const KxSong* song) const override;
};
// The operands' values joined with nothing between them.
class SongCatExpr final : public SongPolyExpr {
public:
    btkstring evaluate(const KxSong* song) const override;
};

// A call of a built-in function; DATE (number 0) is the only one.
class SongCallExpr final : public SongPolyExpr {
public:
    enum : unsigned char { FN_DATE = 0, FN_NONE = 255 };
    SongCallExpr(unsigned char function, const btkstring& name) : function(function), name(name) {}
    // DATE: the seconds of the local date and time "d.m.yyyy h:mm:ss" in
    // decimal; "0" for "", "-1" for a time outside 1970 to 19.1.2038
    // 03:14:07 UTC or no date.
    btkstring evaluate(const KxSong* song) const override;

    unsigned char function;
    btkstring name;  // upper-cased
};

// ---- leaves

class SongConstExpr final : public SongExpr {
public:
    explicit SongConstExpr(const btkstring& text) : text(text) {}
    btkstring evaluate(const KxSong*) const override { return text; }

private:
    btkstring text;
};

// The song's own variable (user column), "" when it has none of the name.
class VarSongExpr final : public SongExpr {
public:
    explicit VarSongExpr(const btkstring& name) : name(name) {}
    btkstring evaluate(const KxSong* song) const override;

private:
    btkstring name;  // without the at-sign, case kept
};

// The fields of a song, one class each.
#define KX_SONG_FIELD_EXPR(Name)                               \
    class Name final : public SongExpr {                       \
    public:                                                    \
        btkstring evaluate(const KxSong* song) const override; \
    }
KX_SONG_FIELD_EXPR(TitleSongExpr);
KX_SONG_FIELD_EXPR(GroupSongExpr);
KX_SONG_FIELD_EXPR(AuthorSongExpr);
KX_SONG_FIELD_EXPR(TextSongExpr);
KX_SONG_FIELD_EXPR(RemarkSongExpr);
KX_SONG_FIELD_EXPR(SpecialSongExpr);
KX_SONG_FIELD_EXPR(NoNetSongExpr);        // "1" or "0"
KX_SONG_FIELD_EXPR(NetModifiedSongExpr);  // "1" or "0"
KX_SONG_FIELD_EXPR(LocIdSongExpr);        // decimal
KX_SONG_FIELD_EXPR(NetIdSongExpr);        // decimal
#undef KX_SONG_FIELD_EXPR

// The song fields that conditions read and UPDATE writes.
enum QueryField {
    QF_TITLE,
    QF_GROUP,
    QF_AUTHOR,
    QF_TEXT,
    QF_REMARK,
    QF_SPECIAL,
    QF_NONET,
    QF_NETMODIFIED,
    QF_LOCID,
    QF_NETID
};

// The field of an upper-cased name or Czech alias (TITLE/NAZEV,
// GROUP/SKUPINA, AUTHOR/AUTOR, TEXT, REMARK/POZNAMKA, SPECIAL, NONET,
// NETMODIFIED, LOCID, NETID); -1 for any other name.
int QueryFieldOf(const char* name);
// A new expression reading the field (a QueryField); null for no field.
SongExpr* NewSongFieldExpr(int field);
