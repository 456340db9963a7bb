// A throwaway program folder (cfg/, data/, db/) for tests that read the
// connection file, write the daily log or keep databases. The folder and
// everything in it is removed at the end.
#pragma once

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "foundation/btkfile.h"
#include "foundation/btkscramble.h"
#include "foundation/btkxml.h"
#include "tests/support/tempfolder.h"

class ProgramFolder : public kx6test::TempFolder {
public:
    ProgramFolder() : TempFolder("kx6_program_") {
        for (const char* sub : {"cfg", "data", "db"}) std::filesystem::create_directories(root + "/" + sub);
    }

    void writeConnection(const btkXMLNode& element) const {
        element.save(path("cfg/connect.xml").c_str(), "Windows-1250");
    }
    void writeAutoLogin(const char* login, const char* password) const {
        write("cfg/autologin.txt", std::string(login) + "\r\n" + btkScramblePassword(password).c_str() + "\r\n");
    }
    // The text of every daily log file, in name order.
    std::string logText() const {
        std::string text;
        btkFileList files(path("data/*.log").c_str());
        for (int i = 0; i < files.count(); ++i) text += read(std::string("data/") + files[i].c_str());
        return text;
    }
    // How many times the text occurs in the daily log files.
    int logCount(const std::string& what) const {
        std::string text = logText();
        int n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
        return n;
    }
};
