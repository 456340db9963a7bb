// Import filters: each reads one text file and makes one song of it in a
// target view (the text import window's virtual database). Three filters,
// registered at start-up in this order:
//
//   0 "Předpřipravené soubory": line 1 title, line 2 author, the rest text;
//   1 "Předpřipravené soubory se skupinou": title, group, author, text
//     (empty lines kept);
//   2 "Textové soubory": a heading line ("title - author", or title and
//     author four blanks apart, or the title alone with the author on the
//     next line) and a plain song text with chords on their own lines above
//     the lyrics, turned into the inline chord markup (ConvertPlainSongText).
//
// Line ends may be CR LF, LF or a lone CR (old Macintosh files). Files are
// read as UTF-8 when they are valid UTF-8 with characters beyond ASCII or
// open with a byte-order mark, else as Windows-1250; characters
// without a Windows-1250 form become '?' (counted in a daily-log record),
// and a NUL byte reads as a blank. A file with too few lines adds no song,
// silently; a file that cannot be read is named in an error box.
// Imported songs get the language "cz".
#pragma once

#include "foundation/btkarray.h"
#include "foundation/btkstring.h"

class KxCustomView;

class ImportFilter {
public:
    ImportFilter() = default;
    ImportFilter(const ImportFilter&) = delete;
    ImportFilter& operator=(const ImportFilter&) = delete;
    virtual ~ImportFilter() = default;

    // Reads the file and adds at most one song to the target, posting the
    // song and the target changed. False, after an error box naming the
    // file, when the file cannot be read; the target is then unchanged.
    [[nodiscard]] virtual bool import(const char* fileName, KxCustomView& target) = 0;
    // The name shown in the import window's filter list.
    virtual btkstring name() const = 0;
};

class PreparedImportFilter final : public ImportFilter {
public:
    [[nodiscard]] bool import(const char* fileName, KxCustomView& target) override;
    btkstring name() const override;
};

class PreparedWithGroupImportFilter final : public ImportFilter {
public:
    [[nodiscard]] bool import(const char* fileName, KxCustomView& target) override;
    btkstring name() const override;
};

class TextImportFilter final : public ImportFilter {
public:
    [[nodiscard]] bool import(const char* fileName, KxCustomView& target) override;
    btkstring name() const override;
};

// The registered filters; a filter's index is its row in the import window.
extern btkObjArray<ImportFilter> importFilters;
// Makes importFilters hold exactly the three filters, in the order above.
void registerImportFilters();

// Plain song text (line feeds) to the song format: repeat signs "[:" and
// ":]" become "/:" and ":/"; a line of chords above a lyric line is merged
// into it by columns ("[C]Hello [G]world"), other chord lines become lines of
// bracketed chords, a chord line after the last lyric line stays as it is;
// verse and chorus labels at line starts ("1.", "Ref.:", "R:", ...) become
// label lines; blank lines and indentation go. Lines of any length are kept
// whole.
btkstring ConvertPlainSongText(const char* text);
// The line (up to a line feed or the end) is a line of chords: no ".", not
// both "[" and "]", and more chord words than other words.
bool IsPlainChordLine(const char* line);
