// The song database file: one XML document in Windows-1250, gzip-compressed
// when its name ends in ".xgz".
//
//   <melodar_data version="4.0" cats="" >
//   <database dbversion= isinetdb= customcols= syncid= >
//   <song title= group= author= remark= special= lang= locid= netid=
//         netmodified= nonet= version= netversion= >
//   <text xml:space="preserve" >...</text>
//   <vars > <var name= >value</var> ... </vars>
//
// Attributes with empty texts, zero numbers and false flags are left out.
#pragma once

#include <memory>

#include "foundation/btkarray.h"
#include "foundation/btkconverter.h"
#include "foundation/btkstream.h"
#include "foundation/btkxml.h"
#include "songs/kxdatabase.h"

class KxSong;

// The longest text, attribute value, variable name or value the database
// reader accepts (bytes).
constexpr int MaxSongFieldLength = btkXMLParser::defaultMaxTextLength;
// The Czech name of the song's first field (or "proměnná NAME") longer
// than the reader accepts; "" when every field fits.
btkstring SongFieldTooLong(const KxSong& song);
// The message that names the song and the field that is too long.
btkstring SongFieldTooLongText(const KxSong& song, const char* field);

// Writes the songs as a database file, replacing the file only when every
// write succeeded; throws btkError naming the file otherwise (the old file
// then stays untouched). A song with a field longer than the reader
// accepts is refused the same way before anything is written. Without
// props the database element has no attributes.
void WriteDatabaseFile(const char* fileName, const btkCntVec<KxSong*>& songs, const DbExportProps* props);
// The same document written to a stream.
void WriteDatabaseStream(btkWriteStream& out, const btkCntVec<KxSong*>& songs, const DbExportProps* props);

// Reads a database file (plain or gzip) into a database: the songs through
// addNewSong, and the database's version, internet flag and custom
// columns. Unknown elements are skipped with their content, unknown
// attributes ignored. Values and texts of a file in another encoding than
// Windows-1250 are converted. Throws on unreadable or malformed input, on
// a root that is not melodar_data and holds no database element (an HTML
// page, another XML file), and on
// an encoding iconv does not know or a character without a Windows-1250
// form; btkXMLLoadError then carries the input offset.
class DbLoader : public btkXMLProcessor {
public:
    DbLoader(const char* fileName, KxDatabase* database);
    DbLoader(const DbLoader&) = delete;
    DbLoader& operator=(const DbLoader&) = delete;
    void load();

    void attribute(btkXMLParser& ctl, const char* name, const char* value) override;
    btkXMLProcessor* startElement(btkXMLParser& ctl, const char* name) override;
    void characters(btkXMLParser& ctl, const char* text) override;
    void endElement(btkXMLParser& ctl, const char* name) override;

private:
    enum State { Outside, InDatabase, InSong, InText, InVars, InVar };

    KxSong* currentSong();
    // The value in Windows-1250 (valid until the next call).
    const char* local(const char* value);

    btkstring fileName;
    btkGZReadStream stream;
    int openError;  // errno of a failed open, 0 when the file is open
    btkWindowTextReader reader;
    btkXMLParser parser;
    KxDatabase* database;
    State state = Outside;
    btkstring varName;
    btkstring varValue;
    KxSong* song = nullptr;
    bool encodingChecked = false;
    bool sawDatabase = false;
    std::unique_ptr<btkConverter> converter;  // null for a Windows-1250 file
    btkstring converted;
};
