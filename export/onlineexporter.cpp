#include "export/onlineexporter.h"

#include "export/htmlexporter.h"
#include "foundation/btkerror.h"
#include "foundation/btkfile.h"
#include "songs/appservices.h"
#include "songs/kxsong.h"
#include "songs/songcompare.h"
#include "songs/songlists.h"

namespace {

// Groups are and song progress is reported every this many items.
constexpr int progressEvery = 32;

// The songs of the run as a view, for the group list; it lives on the stack
// for the length of the run and owns nothing.
class RunView final : public KxView {
public:
    explicit RunView(const btkCntVec<KxSong*>& songs) : songs(songs) {}
    void getSongs(btkCntVec<KxSong*>& list) override { list = songs; }

private:
    btkCntVec<KxSong*> songs;
};

void pageBegin(btkWriteStream& out, const btkstring& background) {
    HTMLPageHead(out);
    out << "<BODY";
    if (!background.empty()) {
        out << " BGCOLOR=\"";
        HTMLEscape(out, background);
        out << '"';
    }
    out << ">\n";
}

void pageEnd(btkWriteStream& out) { out << "</HTML>\n</BODY>\n"; }

// The entry page: the group list (or a song table) and a group's songs on the
// left, the song frame with its transposition buttons on the right. The
// buttons call the functions of the song page shown in the frame; a browser
// that keeps pages opened from disk apart refuses the call, and the page then
// says how to get round it.
const char* const indexPage =
    "<!DOCTYPE html>\n"
    "<html>\n<head>\n"
    "<meta http-equiv=\"content-type\" content=\"text/html; charset=windows-1250\">\n"
    "<meta name=\"generator\" content=\"Kantorix\">\n"
    "<title>Zpěvník</title>\n"
    "<style>\n"
    "html, body { height: 100%; margin: 0; font-family: sans-serif; }\n"
    "body { display: flex; }\n"
    "#lists { display: flex; flex-direction: column; width: 30%; min-width: 14em; border-right: 1px solid #999; }\n"
    "#song { display: flex; flex-direction: column; flex: 1; }\n"
    "nav, #tools { padding: 4px 6px; background: #eee; border-bottom: 1px solid #999; }\n"
    "nav a { margin-right: 0.8em; }\n"
    "iframe { border: 0; width: 100%; flex: 1; }\n"
    "#listframe { border-bottom: 1px solid #999; }\n"
    "#notice { color: #a00; margin-left: 1em; }\n"
    "</style>\n"
    "</head>\n<body>\n"
    "<div id=\"lists\">\n"
    "<nav><a href=\"grplist.html\" target=\"listframe\">Skupiny</a>"
    "<a href=\"title-songs.html\" target=\"listframe\">Podle názvu</a>"
    "<a href=\"group-songs.html\" target=\"listframe\">Podle skupiny</a></nav>\n"
    "<iframe id=\"listframe\" name=\"listframe\" src=\"grplist.html\"></iframe>\n"
    "<iframe id=\"songsframe\" name=\"songsframe\"></iframe>\n"
    "</div>\n"
    "<div id=\"song\">\n"
    "<div id=\"tools\">Transpozice: "
    "<button type=\"button\" id=\"down\" onclick=\"transpose('transpleft')\">o půltón dolů</button> "
    "<button type=\"button\" id=\"up\" onclick=\"transpose('transpright')\">o půltón nahoru</button> "
    "<button type=\"button\" id=\"original\" onclick=\"transpose('originalchords')\">původní</button>"
    "<span id=\"notice\"></span></div>\n"
    "<iframe id=\"songframe\" name=\"songframe\"></iframe>\n"
    "</div>\n"
    "<script>\n"
    "function transpose(name) {\n"
    "  var notice = document.getElementById('notice');\n"
    "  notice.textContent = '';\n"
    "  var page = window.frames['songframe'];\n"
    "  try {\n"
    "    if (typeof page[name] != 'function') { notice.textContent = 'Nejdřív vyberte píseň.'; return; }\n"
    "    page[name]();\n"
    "  } catch (e) {\n"
    "    notice.textContent = 'Prohlížeč nedovolil transponovat stránku otevřenou z disku; "
    "otevřete adresář přes webový server.';\n"
    "  }\n"
    "}\n"
    "</script>\n"
    "</body>\n</html>\n";

}  // namespace

bool OnlineExporter::step(int position, const btkstring& text) { return !progress || progress->step(position, text); }

int OnlineExporter::songNumber(const KxSong* song) const {
    auto found = numbers.find(song);
    return found == numbers.end() ? -1 : found->second;
}

bool OnlineExporter::writeFile(const btkstring& path, const std::function<void(btkWriteStream&)>& write) {
    try {
        btkSaveFile(path, btkSaveFormat::Binary, write);
    } catch (const btkError& e) {
        errorText = e.message();
        return false;
    }
    return true;
}

bool OnlineExporter::exportSongs(const btkCntVec<KxSong*>& runSongs, const btkstring& folder) {
    songs = runSongs;
    numbers.clear();
    for (int j = songs.count() - 1; j >= 0; --j) numbers[songs[j]] = j;
    const btkFile root(folder);
    btkMakeDirs(root.join("data"));
    if (!step(0, "Probíhá příprava")) return false;
    RunView view(songs);
    SongGroupList groupList;
    groupList.setView(&view);
    const btkObjArray<SongGroup>& groups = groupList.groups;

    if (!step(1, "Zapisuji grplist.html") || !writeGroupList(root, groups)) return false;
    for (int i = 0; i < groups.count(); ++i) {
        if (i % progressEvery == 0 &&
            !step(2 + 3 * i / groups.count(), btkFormat("Zapisuji skupinu %s", groups[i]->name.c_str())))
            return false;
        if (!writeGroup(root, i, *groups[i])) return false;
    }
    for (int j = 0; j < songs.count(); ++j) {
        if (j % progressEvery == 0 &&
            !step(5 + 90 * j / songs.count(), btkFormat("Zapisuji píseň %s", songs[j]->title.c_str())))
            return false;
        if (!writeSong(root, j)) return false;
    }
    if (!step(96, "Zapisuji title-songs.html") || !writeTable(root, true)) return false;
    if (!step(97, "Zapisuji group-songs.html") || !writeTable(root, false)) return false;
    if (!step(98, "Zapisuji index.html") ||
        !writeFile(root.join("index.html"), [](btkWriteStream& out) { out << indexPage; }))
        return false;
    (void)step(99, "Hotovo");  // everything is written: a cancel now changes nothing
    return true;
}

bool OnlineExporter::writeGroupList(const btkstring& folder, const btkObjArray<SongGroup>& groups) {
    return writeFile(btkFile(folder).join("grplist.html"), [&](btkWriteStream& out) {
        pageBegin(out, props.groupsbg);
        for (int i = 0; i < groups.count(); ++i) {
            out << "<A href=\"data/grp";
            out.writeInt(i);
            out << ".html\" target=\"songsframe\">";
            // A link with no text could not be seen or clicked.
            if (groups[i]->name.empty())
                out << "(bez skupiny)";
            else
                HTMLEscape(out, groups[i]->name);
            out << "</A><BR>\n";
        }
        pageEnd(out);
    });
}

bool OnlineExporter::writeGroup(const btkstring& folder, int index, const SongGroup& group) {
    const btkstring path = btkFile(folder).join("data").join(btkFormat("grp%d.html", index));
    return writeFile(path, [&](btkWriteStream& out) {
        pageBegin(out, props.groupbg);
        for (const KxSong* song : group.songs) {
            out << "<A href=\"song";
            out.writeInt(songNumber(song));
            out << ".html\" target=\"songframe\">";
            HTMLEscape(out, song->title);
            out << "</A><BR>\n";
        }
        pageEnd(out);
    });
}

bool OnlineExporter::writeSong(const btkstring& folder, int index) {
    const btkstring path = btkFile(folder).join("data").join(btkFormat("song%d.html", index));
    return writeFile(path, [&](btkWriteStream& out) {
        // The song pages take the default text layout, whatever the filter.
        HTMLStreamSongExporter page(TextExporterProps(), true);
        btkCntVec<AbstractSongData*> one;
        one.add(songs[index]);
        runStreamExport(page, one, out);
    });
}

bool OnlineExporter::writeTable(const btkstring& folder, bool byTitle) {
    btkCntVec<KxSong*> sorted = songs;
    SortSongsByCompare(byTitle ? static_cast<const SongCompare*>(&gTitleCompare) : &gGroupCompare, sorted);
    const btkstring path = btkFile(folder).join(byTitle ? "title-songs.html" : "group-songs.html");
    return writeFile(path, [&](btkWriteStream& out) {
        pageBegin(out, props.songsbg);
        out << "<table><tr><th>";
        out << (byTitle ? "Název" : "<a href=\"title-songs.html\">Název</a>");
        out << "</th><th>";
        out << (byTitle ? "<a href=\"group-songs.html\">Skupina</a>" : "Skupina");
        out << "</th><th>Autor</th></tr>\n";
        for (const KxSong* song : sorted) {
            out << "<tr><td><a href=\"data/song";
            out.writeInt(songNumber(song));
            out << ".html\" target=\"songframe\">";
            HTMLEscape(out, song->title);
            out << "</a></td><td>";
            HTMLEscape(out, song->group);
            out << "</td><td>";
            HTMLEscape(out, song->author);
            out << "</td></tr>";
        }
        out << "</table>";
        pageEnd(out);
    });
}
