#include "export/customexporter.h"

#include "songs/kxsong.h"

namespace {

btkstring placeholderValue(const btkstring& name, const AbstractSongData* song) {
    if (name == "NL") return "\n";
    if (!song) return btkstring();
    if (name == "TITLE") return song->getTitle();
    if (name == "AUTHOR") return song->getAuthor();
    if (name == "GROUP") return song->getGroup();
    if (name == "REMARK") return song->getRemark();
    return btkstring();
}

void writeTemplate(btkWriteStream& out, const btkstring& templ, const AbstractSongData* song = nullptr) {
    out << expandTemplate(templ, song).c_str();
}

}  // namespace

btkstring expandTemplate(const char* templ, const AbstractSongData* song) {
    btkstring result;
    for (const char* p = templ ? templ : ""; *p;) {
        if (p[0] != '[' || p[1] != '#') {
            result += *p++;
            continue;
        }
        p += 2;
        btkstring name;
        while (*p && *p != ']') name += *p++;
        if (*p) ++p;
        result += placeholderValue(name, song);
    }
    return result;
}

// ---- song text hooks

void CustomSongTextExporter::beginLine(const btkstring& prefix, btkWriteStream& out, int type) {
    writeTemplate(out, type == LINE_TEXT    ? templates.begintextline
                       : type == LINE_MIXED ? templates.beginmixedline
                                            : templates.beginacline);
    if (!props.textlab) return;
    const bool isLabel = HasNonBlank(prefix);
    if (isLabel) writeTemplate(out, templates.beginlabel);
    out << prefix.c_str();
    if (isLabel) writeTemplate(out, templates.endlabel);
}

void CustomSongTextExporter::endLine(btkWriteStream& out, int type) {
    writeTemplate(out, type == LINE_TEXT    ? templates.endtextline
                       : type == LINE_MIXED ? templates.endmixedline
                                            : templates.endacline);
}

void CustomSongTextExporter::label(const btkstring& text, btkWriteStream& out) {
    writeTemplate(out, templates.beginlabel);
    out << text.c_str();
    writeTemplate(out, templates.endlabel);
}

void CustomSongTextExporter::chord(const btkstring& chord, btkWriteStream& out, int& /*width*/) {
    writeTemplate(out, templates.beginchord);
    out << chord.c_str();
    writeTemplate(out, templates.endchord);
}

// ---- songs and document

void CustomSongExporter::exportSong(const AbstractSongData& song, btkWriteStream& out) {
    writeTemplate(out, templates.beginsong, &song);
    CustomSongTextExporter walker(text, templates);
    walker.exportText(song.getText(), out);
    writeTemplate(out, templates.endsong, &song);
}

void CustomStreamSongExporter::header(btkWriteStream& out) { writeTemplate(out, templates.begindoc); }

void CustomStreamSongExporter::footer(btkWriteStream& out) { writeTemplate(out, templates.enddoc); }

void CustomStreamSongExporter::separator(btkWriteStream& out) { writeTemplate(out, templates.songsep); }
