// A throwaway program folder with melodary/ for the song-book tests: the
// program folder points to it while the fixture lives, and message boxes
// are collected quietly.
#pragma once

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "foundation/btkfile.h"
#include "foundation/btkmessagebox.h"
#include "tests/support/tempfolder.h"

class BookFolderTest : public ::testing::Test, protected kx6test::TempFolder {
protected:
    BookFolderTest() : TempFolder("kx6_book_") {
        std::filesystem::create_directories(root + "/melodary");
        oldDir = programDir().c_str();
        setProgramDir(root.c_str());
        btkDefaultMessageBoxes().reset();
        btkDefaultMessageBoxes().quiet = true;
    }
    ~BookFolderTest() override {
        setProgramDir(oldDir.c_str());
        btkDefaultMessageBoxes().reset();
        btkDefaultMessageBoxes().quiet = false;
    }

    // A type file melodary/<name>.kxt holding the element text.
    void writeType(const std::string& name, const std::string& element) const {
        write("melodary/" + name + ".kxt", "<?xml version=\"1.0\" encoding=\"Windows-1250\"?>\n" + element);
    }
    // The texts of the boxes shown so far, joined by "|".
    static std::string boxes() {
        std::string s;
        for (const auto& b : btkDefaultMessageBoxes().shown()) s += std::string(b.text.c_str()) + "|";
        return s;
    }

    std::string oldDir;
};
