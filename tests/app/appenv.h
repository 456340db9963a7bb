// A temporary program folder and the program started on it, ended with the
// test.
#pragma once

#include <gtest/gtest.h>

#include "foundation/btkmessagebox.h"
#include "foundation/btkstring.h"
#include "tests/support/tempfolder.h"

// A fresh folder under /tmp, removed with its content at the end.
class TempFolder {
public:
    btkstring path(const char* relative = "") const;
    // Writes a file (folders made as needed); text as given, no conversion.
    // Names are Windows-1250, as the program's.
    void write(const char* relative, const char* text) const;
    btkstring read(const char* relative) const;

private:
    kx6test::TempFolder folder{"kx6app-"};
};

// A database file with songs titled by the list ("A", "B", ...), local ids
// from 1.
btkstring SongDatabaseXml(std::initializer_list<const char*> titles);

// The program started on a temporary folder of its own, ended with the
// object; message boxes are scripted.
class TestProgram {
public:
    TestProgram();
    ~TestProgram();
    TestProgram(const TestProgram&) = delete;
    TestProgram& operator=(const TestProgram&) = delete;

    // Starts the program on the folder: own initialisation, windows (main
    // window shown), idle queue pass.
    void start();
    // Ends the program (windows, model, queue).
    void end();
    // Lets the event loop run for a moment: the idle pass runs when
    // something is pending. Returns only when the queue waits for no pass
    // (unless the pass is held), however short the moment was.
    void idle(int ms = 20);
    btkScriptedMessageBoxes& boxes() { return btkDefaultMessageBoxes(); }
    bool boxShown(const char* text) const;

    TempFolder folder;
    bool started = false;
};

class AppTest : public ::testing::Test, public TestProgram {};
