// Shared by the export tests: songs made from literal texts, exports into a
// string, and a throwaway program folder with data/expf.
#pragma once

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "export/exporter.h"
#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "foundation/btkstream.h"
#include "songs/kxsong.h"
#include "tests/support/tempfolder.h"

struct SongFields {
    const char* title;
    const char* author;
    const char* text;
};

// Songs that live for one test, with their AbstractSongData array.
class SongSet {
public:
    explicit SongSet(std::initializer_list<SongFields> fields) {
        for (const SongFields& f : fields) {
            auto song = std::make_unique<KxSong>();
            song->title = f.title;
            song->author = f.author;
            song->text = f.text;
            song->group = "G";
            data.add(song.get());
            songs.push_back(std::move(song));
        }
    }
    std::vector<std::unique_ptr<KxSong>> songs;
    btkCntVec<AbstractSongData*> data;
};

// What a stream exporter writes for the songs.
inline std::string runToString(StreamSongExporter& exporter, const btkCntVec<AbstractSongData*>& songs) {
    btkStringWriteStream out;
    runStreamExport(exporter, songs, out);
    return std::string(out.c_str(), out.length());
}

// A program folder with data/expf, made the program's folder for the test.
class ExportFolder : public kx6test::TempFolder {
public:
    ExportFolder() : TempFolder("kx6_export_") {
        std::filesystem::create_directories(root + "/data/expf");
        setProgramDir(root.c_str());
        btkDefaultMessageBoxes().reset();
        btkDefaultMessageBoxes().quiet = true;
    }
    ~ExportFolder() { btkDefaultMessageBoxes().reset(); }
    // The texts of the message boxes shown so far.
    static std::vector<std::string> boxes() {
        std::vector<std::string> texts;
        for (const auto& box : btkDefaultMessageBoxes().shown()) texts.push_back(box.text.c_str());
        return texts;
    }
};
