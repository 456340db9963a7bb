// A queue and a root of views for one test, ended with a final pass that
// deletes every model object.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/btkmessagebox.h"
#include "songs/kxspace.h"
#include "songs/kxview.h"
#include "songs/uibridge.h"

// The items of an array, for comparing a whole list at once.
template <class T> std::vector<T> items(const btkCntVec<T>& array) {
    return std::vector<T>(array.begin(), array.end());
}

// A main window that shows the view and song it is given and records what
// it is told.
struct FakeMainWin : MainWinBase {
    KxSong* getActSong() override { return current; }
    KxSong* getActSongMsg() override { return current; }
    KxView* getActView() override { return view; }
    KxView* getActViewMsg() override { return view; }
    KxDatabase* getActDatabase() override { return view ? view->asDatabase() : nullptr; }
    KxDatabase* getActDatabaseMsg() override { return getActDatabase(); }
    KxDatabase* getActInetDatabase() override { return nullptr; }
    void setActSong(KxSong* song) override { current = song; }
    void selectView(int index) override { selected = index; }
    void setStatusText(const char* text) override { status.push_back(text); }
    void showLoginState() override { ++loginShown; }
    void selectSongById(int) override {}
    void closeMain() override {}
    void getListSongs(btkCntVec<KxSong*>&) override {}

    KxSong* current = nullptr;
    KxView* view = nullptr;
    int selected = -1;
    int loginShown = 0;
    std::vector<std::string> status;
};

class ModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        btkDefaultMessageBoxes().reset();
        btkDefaultMessageBoxes().quiet = true;
        system = new KxSystem;
        space = new KxSpace;
    }
    void TearDown() override {
        if (space) space->release();
        system->processQueue();
        delete system;
        btkDefaultMessageBoxes().reset();
    }
    void pass() { system->processQueue(); }
    int boxCount() const { return static_cast<int>(btkDefaultMessageBoxes().shown().size()); }
    // The texts of every message box shown so far.
    static std::vector<std::string> boxes() {
        std::vector<std::string> texts;
        for (const auto& box : btkDefaultMessageBoxes().shown()) texts.push_back(box.text.c_str());
        return texts;
    }

    KxSystem* system = nullptr;
    KxSpace* space = nullptr;
};
