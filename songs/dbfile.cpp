#include "songs/dbfile.h"

#include <cerrno>
#include <cstring>

#include "foundation/btkfile.h"
#include "foundation/btkstrings.h"
#include "songs/kxsong.h"

namespace {

void textAttr(btkXML* e, const char* name, const btkstring& value) {
    if (!value.empty()) e->attribute(name, value);
}

void intAttr(btkXML* e, const char* name, int value) {
    if (value != 0) e->attribute(name, btkIntToStr(value));
}

void flagAttr(btkXML* e, const char* name, bool value) {
    if (value) e->attribute(name, "1");
}

void writeSong(btkXML* database, const KxSong& song) {
    btkXML* s = database->beginElement();
    s->name("song");
    textAttr(s, "title", song.title);
    textAttr(s, "group", song.group);
    textAttr(s, "author", song.author);
    textAttr(s, "remark", song.remark);
    textAttr(s, "special", song.special);
    textAttr(s, "lang", song.lang);
    intAttr(s, "locid", song.locid);
    intAttr(s, "netid", song.netid);
    flagAttr(s, "netmodified", song.netmodified);
    flagAttr(s, "nonet", song.nonet);
    intAttr(s, "version", song.version);
    intAttr(s, "netversion", song.netversion);

    // The text element is written for every song, an empty text as an
    // empty pair of tags.
    btkXML* t = s->beginElement();
    t->name("text");
    t->attribute("xml:space", "preserve");
    t->text(song.text);
    t->endElement("text");

    if (song.vars.count() > 0) {
        btkXML* v = s->beginElement();
        v->name("vars");
        for (int i = 0; i < song.vars.count(); ++i) {
            const btkVarListItem& item = song.vars.item(i);
            btkXML* var = v->beginElement();
            var->name("var");
            var->attribute("name", item.name);
            var->text(item.value);
            var->endElement("var");
        }
        v->endElement("vars");
    }
    s->endElement("song");
}

}  // namespace

void WriteDatabaseStream(btkWriteStream& out, const btkCntVec<KxSong*>& songs, const DbExportProps* props) {
    btkXMLWriteProlog(out, "Windows-1250");
    btkXMLDumper dumper(out);
    btkXML* root = dumper.beginElement();
    root->name("melodar_data");
    root->attribute("version", "4.0");
    root->attribute("cats", "");
    btkXML* db = root->beginElement();
    db->name("database");
    if (props) {
        intAttr(db, "dbversion", props->dbversion);
        flagAttr(db, "isinetdb", props->isinetdb);
        textAttr(db, "customcols", props->customcols);
        textAttr(db, "syncid", props->syncid);
    }
    for (const KxSong* song : songs)
        if (song) writeSong(db, *song);
    db->endElement("database");
    root->endElement("melodar_data");
}

btkstring SongFieldTooLong(const KxSong& song) {
    const struct {
        const char* name;
        const btkstring& value;
    } fields[] = {
        {"název", song.title},     {"skupina", song.group},     {"autor", song.author}, {"text", song.text},
        {"poznámka", song.remark}, {"speciální", song.special}, {"jazyk", song.lang},
    };
    for (const auto& f : fields)
        if (f.value.length() > MaxSongFieldLength) return f.name;
    for (int i = 0; i < song.vars.count(); ++i) {
        const btkVarListItem& item = song.vars.item(i);
        if (item.name.length() > MaxSongFieldLength || item.value.length() > MaxSongFieldLength)
            return btkFormat("proměnná %.40s", item.name.c_str());
    }
    return btkstring();
}

btkstring SongFieldTooLongText(const KxSong& song, const char* field) {
    return btkFormat("Píseň \"%.80s\" (číslo %d): %s je delší než %d bajtů, které databáze dokáže znovu načíst",
                     song.title.c_str(), song.locid, field, MaxSongFieldLength);
}

void WriteDatabaseFile(const char* fileName, const btkCntVec<KxSong*>& songs, const DbExportProps* props) {
    // A file the reader would refuse is never written: the old one stays.
    for (const KxSong* song : songs) {
        if (!song) continue;
        const btkstring field = SongFieldTooLong(*song);
        if (!field.empty())
            throw btkError(
                btkFormat("Soubor %s nebyl uložen.\n%s", fileName, SongFieldTooLongText(*song, field).c_str()));
    }
    btkSaveFormat format = btkFile(fileName).hasExt("xgz") ? btkSaveFormat::GZip : btkSaveFormat::Binary;
    btkSaveFile(fileName, format, [&](btkWriteStream& out) { WriteDatabaseStream(out, songs, props); });
}

// ---- reading

DbLoader::DbLoader(const char* fileName, KxDatabase* database)
    : fileName(fileName),
      stream(fileName, "rb"),
      openError(stream.isOpen() ? 0 : errno),
      reader(stream),
      parser(this, reader),
      database(database) {}

void DbLoader::load() {
    if (!stream.isOpen()) throw btkError(btkOpenFailureText(openError));
    // The parser stops after every song: each song element starts afresh.
    while (!parser.atEnd()) {
        song = nullptr;
        parser.run();
    }
    if (stream.failed()) throw btkError(btkFormat("chyba čtení: %s", stream.errorText().c_str()));
    // Another root with database elements inside is an older or renamed
    // song database; anything else (an HTML page, another program's XML) is
    // not one, and must never be written over as an empty database.
    if (!sawDatabase && std::strcmp(parser.rootName(), "melodar_data") != 0)
        throw btkXMLLoadError(btkFormat("kořenový prvek <%s> neobsahuje databázi písní", parser.rootName()));
}

const char* DbLoader::local(const char* value) {
    if (!encodingChecked) {
        encodingChecked = true;
        const char* encoding = parser.encoding();
        if (!btkIsWindows1250(encoding)) {
            converter = std::make_unique<btkConverter>(encoding, "CP1250");
            if (!converter->converts()) throw btkXMLLoadError(btkFormat("neznámé kódování %s", encoding));
        }
    }
    if (!converter) return value;
    bool exact = true;
    converted = converter->convert(value, &exact);
    if (!exact) throw btkXMLLoadError(btkFormat("znak kódování %s nemá podobu ve Windows-1250", parser.encoding()));
    return converted.c_str();
}

KxSong* DbLoader::currentSong() {
    if (!song) song = database->addNewSong();
    return song;
}

btkXMLProcessor* DbLoader::startElement(btkXMLParser&, const char* name) {
    State next;
    if (state == Outside && std::strcmp(name, "database") == 0) {
        next = InDatabase;
        sawDatabase = true;
    } else if (state == InDatabase && std::strcmp(name, "song") == 0)
        next = InSong;
    else if (state == InSong && std::strcmp(name, "text") == 0)
        next = InText;
    else if (state == InSong && std::strcmp(name, "vars") == 0)
        next = InVars;
    else if (state == InVars && std::strcmp(name, "var") == 0)
        next = InVar;
    else
        return nullptr;  // skipped with everything inside it
    state = next;
    return this;
}

void DbLoader::attribute(btkXMLParser&, const char* name, const char* value) {
    value = local(value);
    if (state == InDatabase) {
        if (std::strcmp(name, "dbversion") == 0)
            database->version = btkAtoi(value);
        else if (std::strcmp(name, "isinetdb") == 0)
            database->isinetdb = btkAtoi(value) != 0;
        else if (std::strcmp(name, "customcols") == 0)
            btkSplit(database->customCols, value, ';', false);
        else if (std::strcmp(name, "syncid") == 0)
            database->syncId = value;
    } else if (state == InSong) {
        struct TextField {
            const char* name;
            btkstring KxSong::*field;
        };
        static const TextField texts[] = {
            {"title", &KxSong::title},   {"group", &KxSong::group},     {"author", &KxSong::author},
            {"remark", &KxSong::remark}, {"special", &KxSong::special}, {"lang", &KxSong::lang},
        };
        for (const TextField& f : texts)
            if (std::strcmp(name, f.name) == 0) {
                currentSong()->*f.field = value;
                return;
            }
        if (std::strcmp(name, "locid") == 0)
            currentSong()->locid = btkAtoi(value);
        else if (std::strcmp(name, "netid") == 0)
            currentSong()->netid = btkAtoi(value);
        else if (std::strcmp(name, "version") == 0)
            currentSong()->version = btkAtoi(value);
        else if (std::strcmp(name, "netversion") == 0)
            currentSong()->netversion = btkAtoi(value);
        else if (std::strcmp(name, "netmodified") == 0)
            currentSong()->netmodified = btkAtoi(value) != 0;
        else if (std::strcmp(name, "nonet") == 0)
            currentSong()->nonet = btkAtoi(value) != 0;
    } else if (state == InVar) {
        if (std::strcmp(name, "name") == 0) varName = value;
    }
}

void DbLoader::characters(btkXMLParser&, const char* text) {
    text = local(text);
    if (state == InText) {
        KxSong* s = currentSong();
        const char* p = text;
        while (*p && static_cast<unsigned char>(*p) <= 32) ++p;
        s->text = p;
    } else if (state == InVar) {
        varValue = text;
    }
}

void DbLoader::endElement(btkXMLParser& ctl, const char*) {
    switch (state) {
    case InDatabase: state = Outside; break;
    case InSong:
        state = InDatabase;
        ctl.stop();
        break;
    case InText:
    case InVars: state = InSong; break;
    case InVar: {
        KxSong* s = currentSong();
        if (!varName.empty() && !varValue.empty()) s->vars.set(varName, varValue);
        varName = btkstring();
        varValue = btkstring();
        state = InVars;
        break;
    }
    case Outside: break;
    }
}
