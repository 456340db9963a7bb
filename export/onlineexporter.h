// Web directory export ("online", "Online-Kantorix"): a small linked site in
// an existing folder D:
//
//   D/grplist.html        links to the group pages      (background groupsbg)
//   D/data/grp<i>.html    links to the songs of group i (background groupbg)
//   D/data/song<j>.html   song j with in-browser transposition
//   D/title-songs.html    all songs by title            (background songsbg)
//   D/group-songs.html    all songs by group            (background songsbg)
//   D/index.html          the entry page holding the lists, the song frame
//                         and buttons that transpose the song shown there
//
// Groups are numbered in the group order, songs by their place in the run.
// Links address the frames "songsframe" (a group's song list) and
// "songframe" (a song page), which index.html defines. Song data is escaped
// as in the HTML export; a group without a name is listed as "(bez skupiny)".
#pragma once

#include <functional>
#include <unordered_map>

#include "export/exporter.h"
#include "export/exportprops.h"

class SongGroup;

class OnlineExporter final : public DirectorySongExporter {
public:
    explicit OnlineExporter(const OnlineExporterProps& props) : props(props) {}
    [[nodiscard]] bool exportSongs(const btkCntVec<KxSong*>& songs, const btkstring& folder) override;

private:
    // Each writes one file; false (errorText set) when it could not be written.
    [[nodiscard]] bool writeGroupList(const btkstring& folder, const btkObjArray<SongGroup>& groups);
    [[nodiscard]] bool writeGroup(const btkstring& folder, int index, const SongGroup& group);
    [[nodiscard]] bool writeSong(const btkstring& folder, int index);
    [[nodiscard]] bool writeTable(const btkstring& folder, bool byTitle);
    [[nodiscard]] bool writeFile(const btkstring& path, const std::function<void(btkWriteStream&)>& write);
    // False once the user cancelled.
    [[nodiscard]] bool step(int position, const btkstring& text);
    // The song's number in the run.
    int songNumber(const KxSong* song) const;

    OnlineExporterProps props;
    btkCntVec<KxSong*> songs;
    std::unordered_map<const KxSong*, int> numbers;  // first place of each song in songs
};
