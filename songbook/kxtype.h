// Song-book types: how a song book is laid out and printed (logical pages
// per sheet side, margins, orientation, imposition, table-of-contents
// columns, the nine fonts, the distribution order, header and footer, song
// spacing and chord options), and their XML element `kxtype`.
//
// A type may name a base type and, with savediff set, store only what
// differs from it; reading then puts the stored differences on top of the
// base type's current values. Types are files melodary/<name>.kxt of the
// program folder; "default", "" and any name without a file stand for the
// built-in default type. Base types resolve recursively at every load: a
// name met again while it is being resolved (a type that is its own base,
// directly or through others) and a name that could leave the folder
// resolve to the default type.
#pragma once

#include <memory>

#include "foundation/btkarray.h"
#include "foundation/btkstring.h"
#include "foundation/btkxml.h"

using KxIntList = btkCntVec<int>;

// The ranges the type editor offers; reading a type clamps every value into
// them, so no file can make the layout overflow or allocate without bound.
// Margins and spacings may be negative (they draw beyond the logical page or
// close up lines and songs): files have always held such values.
struct KxTypeLimits {
    static constexpr int MaxGrid = 20;            // hcnt, vcnt
    static constexpr int MaxMillimetres = 1000;   // |every margin|
    static constexpr int MaxPercent = 1000;       // |slspacehi|, |songspacehi|
    static constexpr int MaxOutlineColumns = 10;  // colcnt
    static constexpr int MaxPageNumber = 99999;   // |pagenumstart|
    static constexpr int MaxFontSize = 512;       // points; 0 keeps the default size
};

// The values of a type. A plain BaseKxType is empty (zeros, empty texts and
// lists, unnamed font and order elements) until a read fills it.
class BaseKxType {
public:
    BaseKxType() = default;
    BaseKxType(const BaseKxType&) = delete;
    BaseKxType& operator=(const BaseKxType&) = delete;
    virtual ~BaseKxType() = default;

    // "default" for the built-in type, the file name for a file type, ""
    // otherwise.
    virtual btkstring name() const { return ""; }

    // `fonts` with the children fntext, fnlab, fnacs, fntitle, fnauthor,
    // fnoutlinetitle, fnoutlinenumber, fnheader, fnfooter, each one font
    // (KxFont's attributes).
    btkXMLNode fonts;
    // `order`: the sort keys of the automatic distribution (item1..item3).
    btkXMLNode order;
    int hcnt = 0;  // logical pages across a sheet side (>= 1 after a read)
    int vcnt = 0;  // logical pages down a sheet side (>= 1 after a read)
    // 0 simple margins (leftsp..bottomsp), 1 margins per column and row
    // (mleft..mbottom); a read turns any other value into 0.
    unsigned char margintype = 0;
    int leftsp = 0, topsp = 0, rightsp = 0, bottomsp = 0;  // millimetres
    KxIntList mleft, mright;                               // per column, mm
    KxIntList mtop, mbottom;                               // per row, mm
    bool landscape = false;
    int a4distrib = 0;  // 0 booklet, 1 in rows
    int colcnt = 0;     // table-of-contents columns (>= 1 after a read)
    btkstring header, footer;
    int pagenumstart = 0;
    bool autodistrib = false;
    int slspacehi = 0;    // percent of the text line before a labelled section
    int songspacehi = 0;  // percent of the text line between songs
    bool songlines = false;
    bool inacs = false;   // chords inside the text line
    bool outacs = false;  // chords not printed
};

// The built-in type "default".
class DefaultKxType : public BaseKxType {
public:
    DefaultKxType();
    btkstring name() const override { return "default"; }
};

// The names of the nine fonts in the order of the format's fields.
extern const char* const KxTypeFontNames[9];

// A type that may store itself as differences to a named base type.
class KxTypeWithBase : public BaseKxType {
public:
    // Empty values (see BaseKxType), basetype "", savediff false.
    KxTypeWithBase();

    btkstring basetype;
    bool savediff = false;

    // Names the element `kxtype` and writes every value of type into its
    // children page, outline, fonts, order, headfoot, format (found or
    // created by name, so an element that has them is overwritten).
    static void writeKxtype(const BaseKxType& type, btkXMLNode element);
    // Reads every value from element's children; a missing child or
    // attribute reads as 0 or "", missing fonts and order as empty elements.
    // Numbers are clamped to KxTypeLimits (hcnt, vcnt and colcnt at least
    // 1, per-column and per-row margin lists at most MaxGrid long, font
    // sizes 0..MaxFontSize), a margintype other than 0 or 1 becomes 0.
    // basetype and savediff are not touched.
    static void readKxtype(BaseKxType& type, const btkXMLNode& element);
    // The four margin lists as the attributes mleft, mright, mtop, mbottom
    // of a page element (numbers joined by ",").
    static void readMargins(const btkXMLNode& page, KxIntList& mleft, KxIntList& mright, KxIntList& mtop,
                            KxIntList& mbottom);
    static void writeMargins(btkXMLNode page, const KxIntList& mleft, const KxIntList& mright, const KxIntList& mtop,
                             const KxIntList& mbottom);

    // Writes the type into element: all values when whole is set or
    // savediff is not, else only the differences to the base type; then the
    // root attributes savediff and basetype. May throw btkXMLLoadError from
    // reading the base type's file.
    void toXML(btkXMLNode element, bool whole) const;
    // Reads savediff and basetype, then the values: directly, or with
    // savediff on top of the base type. May throw btkXMLLoadError.
    void fromXML(const btkXMLNode& element);
    // The default type's values.
    void resetToDefault();

    // The type of that name: its file when the name is usable as a file
    // name, is not "default" and the file exists, else the default type (also for a name
    // being resolved already). Throws btkXMLLoadError for a file that
    // cannot be read or parsed.
    static std::unique_ptr<BaseKxType> loadBase(const char* name);
    // A name that may become melodary/<name>.kxt: not empty, no '/', '\'
    // or "..", not starting with '.'.
    static bool isValidTypeName(const char* name);
    // melodary/<name>.kxt under the program folder.
    static btkstring typeFilePath(const char* name);

protected:
    // The differences of this type against the base type named baseName.
    void writeDiff(btkXMLNode out, const char* baseName) const;
    // The values of base type baseName with the differences in on top.
    void readDiff(const btkXMLNode& in, const char* baseName);
};

// A type stored in melodary/<name>.kxt.
class FileKxType : public KxTypeWithBase {
public:
    // Loads the file when it exists (throws btkXMLLoadError when it cannot
    // be read or parsed); otherwise, and for a name not usable as a file
    // name, the default values with savediff false and basetype "".
    explicit FileKxType(const char* name);
    btkstring name() const override { return fileName; }

    // Writes the type (only its differences when savediff is set) to its
    // file through the checked save. On failure the old file stays and an
    // error box names the file; returns false then.
    [[nodiscard]] bool save() const;

private:
    void load();

    btkstring fileName;
};

// The type a song book holds: the default values when made.
class MelodarKxType : public KxTypeWithBase {
public:
    MelodarKxType();

    // Makes newName the base type: every value that differs from the old
    // base stays, every other takes the new base's value. savediff is not
    // changed. May throw btkXMLLoadError (state unchanged then).
    void changeBaseType(const char* newName);
};

// The list as its attribute text: decimal numbers joined by ",".
btkstring intListToString(const KxIntList& list);
// Splits at ",", drops empty pieces, reads each with atoi.
void stringToIntList(const char* text, KxIntList& list);
