#include "export/htmlexporter.h"

#include <cstring>

#include "songs/chorddifficulty.h"
#include "songs/chords.h"
#include "songs/kxsong.h"
#include "songs/uibridge.h"

namespace {

void escapeRun(btkWriteStream& out, const char* begin, const char* end, int& width) {
    for (const char* p = begin; p < end; ++p) {
        const char one[2] = {*p, 0};
        HTMLEscape(out, one);
        ++width;
    }
}

// The script's functions; the note names differ from the program's in two
// places (D# and G#), both two characters wide as well.
const char* const scriptFunctions =
    "function setrotation(D) {ACTUALD=D;changechords(D,document.all);}\n"
    "function rotationd(d) {\n"
    "  ACTUALD+=d;\n"
    "  if (ACTUALD<0) ACTUALD+=12;\n"
    "  if (ACTUALD>=12) ACTUALD-=12;\n"
    "  changechords(ACTUALD,document.all);\n"
    "}\n"
    "function rac(index,ac,sp,d) {\n"
    "  var actd=HIS[index]+d;"
    "  if (actd<0) actd+=12;if (actd>=12) actd-=12;\n"
    "  var ton=TONS[actd],space=SPACES[actd];\n"
    "  ac.innerText=ton;sp.innerText=space;\n"
    "}\n"
    "function optimalmax() {setrotation(MAXD);}\n"
    "function optimalsum() {setrotation(SUMD);}\n"
    "function transpleft() {rotationd(-1);}\n"
    "function transpright() {rotationd(1);}\n"
    "function transpleft5() {rotationd(-7);}\n"
    "function transpright5() {rotationd(7);}\n"
    "function originalchords() {setrotation(0);}\n"
    "//--></SCRIPT>";

}  // namespace

void HTMLEscape(btkWriteStream& out, const char* text) {
    for (const char* p = text; *p; ++p) {
        switch (*p) {
        case '&': out << "&amp;"; break;
        case '<': out << "&lt;"; break;
        case '>': out << "&gt;"; break;
        case '"': out << "&quot;"; break;
        default: out << *p;
        }
    }
}

void HTMLPageHead(btkWriteStream& out) {
    out << "<HTML>\n<HEAD>\n"
           "<meta http-equiv=\"content-type\" content=\"text/html; charset=windows-1250\">\n"
           "<meta name=\"generator\" content=\"Kantorix\">\n"
           "</HEAD>\n";
}

// ---- song text hooks

void HTMLSongTextExporter::beginSong(const char* text, btkWriteStream& out) {
    notes.clear();
    leastTotal = leastMaximum = 0;
    if (transposition) {
        const ChordDifTable table = LoadChordDifficulties(OptionsRoot().childByName("chorddifs"));
        SongChordDifficulty(text, table, leastTotal, leastMaximum);
    }
    out << "<PRE>";
}

void HTMLSongTextExporter::endSong(btkWriteStream& out) {
    out << "</PRE>\n";
    if (transposition) script(out);
}

void HTMLSongTextExporter::beginLine(const btkstring& prefix, btkWriteStream& out, int type) {
    if (props.textlab) {
        if (HasNonBlank(prefix)) {
            out << "<U>";
            HTMLEscape(out, prefix);
            out << "</U>";
        } else {
            out << prefix.c_str();
        }
    }
    if (type == LINE_CHORDS && !transposition) out << "<B>";
}

void HTMLSongTextExporter::endLine(btkWriteStream& out, int type) {
    if (type == LINE_CHORDS && !transposition) out << "</B>";
    out << '\n';
}

void HTMLSongTextExporter::label(const btkstring& text, btkWriteStream& out) {
    out << "<U>";
    HTMLEscape(out, text);
    out << "</U>\n";
}

void HTMLSongTextExporter::text(const btkstring& text, btkWriteStream& out) { HTMLEscape(out, text); }

void HTMLSongTextExporter::textPiece(const btkstring& text, btkWriteStream& out) { HTMLEscape(out, text); }

int HTMLSongTextExporter::noteElement(btkWriteStream& out, int note) {
    const int index = notes.count();
    notes.add(note);
    out << "<B id=\"note";
    out.writeInt(index);
    out << "\">" << NoteName(note) << "</B>";
    return index;
}

void HTMLSongTextExporter::spaceElement(btkWriteStream& out, int index) {
    out << "<B id=\"space";
    out.writeInt(index);
    out << "\">" << (std::strlen(NoteName(notes[index])) == 1 ? " " : "") << "</B>";
}

void HTMLSongTextExporter::chord(const btkstring& chord, btkWriteStream& out, int& width) {
    if (!transposition) {
        HTMLEscape(out, chord);
        return;
    }
    int w = 0;
    const char* p = chord.c_str();
    const char* const end = p + chord.length();
    if (*p == '(') {
        out << "<B>(</B>";
        ++p;
        ++w;
    }
    const char* after = nullptr;
    const int root = ParseNoteName(p, &after);
    if (root < 0) {
        escapeRun(out, p, end, w);
        width = w;
        return;
    }
    const int rootIndex = noteElement(out, root);
    w += 2;
    p = after;
    if (*p) {
        out << "<B>";
        const char* slash = std::strchr(p, '/');
        escapeRun(out, p, slash ? slash : end, w);
        if (!slash) {
            out << "</B>";
        } else {
            out << "/</B>";
            ++w;
            p = slash + 1;
            const int bass = ParseNoteName(p, &after);
            if (bass >= 0) {
                const int bassIndex = noteElement(out, bass);
                w += 2;
                if (*after) {
                    out << "<B>";
                    escapeRun(out, after, end, w);
                    out << "</B>";
                }
                spaceElement(out, bassIndex);
            } else {
                out << "<B>";
                escapeRun(out, p, end, w);
                out << "</B>";
            }
        }
    }
    spaceElement(out, rootIndex);
    width = w;
}

void HTMLSongTextExporter::script(btkWriteStream& out) {
    out << "<SCRIPT LANGUAGE=\"JavaScript\"><!--\n"
           "var TONS  =new Array('C','C#','D','D#','E','F','F#','G','G#','A','B','H');\n"
           "var SPACES=new Array(' ', '' ,' ', '' ,' ',' ', '' ,' ', '' ,' ',' ',' ');\n";
    out << "var SUMD=";
    out.writeInt(leastMaximum);
    out << ",MAXD=";
    out.writeInt(leastTotal);
    out << ",ACTUALD=0;\n";
    out << "var HIS=new Array(";
    for (int i = 0; i < notes.count(); ++i) {
        if (i > 0) out << ',';
        out.writeInt(notes[i]);
    }
    out << ");\n";
    out << "function changechords(d,doc) {\n  ";
    for (int i = 0; i < notes.count(); ++i) out << btkFormat("rac(%d,doc.note%d,doc.space%d,d);", i, i, i).c_str();
    out << "\n}\n";
    out << scriptFunctions;
}

// ---- songs and page

void HTMLSongExporter::exportSong(const AbstractSongData& song, btkWriteStream& out) {
    out << "<H2>";
    HTMLEscape(out, song.getTitle());
    out << "</H2>\n<H3>";
    HTMLEscape(out, song.getAuthor());
    out << "</H3>\n";
    HTMLSongTextExporter walker(text, transposition);
    walker.exportText(song.getText(), out);
}

void HTMLStreamSongExporter::header(btkWriteStream& out) {
    HTMLPageHead(out);
    out << "<BODY>\n";
}

void HTMLStreamSongExporter::footer(btkWriteStream& out) { out << "</HTML>\n</BODY>\n"; }

void HTMLStreamSongExporter::separator(btkWriteStream& out) { out << "<HR>\n"; }
