// Local databases for the synchronisation tests: songs held in memory with
// the fields of the internet song table, a song database in Windows-1250
// with a log, and a plain one that overrides nothing but its tables (UTF-8,
// no log).
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "dbw/dbwsync.h"

class FakeSong;

// The synchronised fields of a song: the key 23 and the texts.
class FakeSongClass : public dbwSynClass {
public:
    int classId() override { return id; }
    int fieldCount() override { return static_cast<int>(ids.size()); }
    int fieldId(int i) override { return ids.at(static_cast<size_t>(i)); }
    btkstring fieldText(dbwSynObject* object, int fieldId) override;
    void setField(dbwSynObject* object, int fieldId, const btkstring& text) override;

    int id = 1;
    std::vector<int> ids{23, 27, 31, 29, 33, 35, 184};
};

class FakeSong : public dbwSynObject {
public:
    explicit FakeSong(FakeSongClass* c) : cls(c) {}
    dbwSynClass* synClass() override { return cls; }
    void changed(bool markForUpload) override {
        ++changedCalls;
        dbwSynObject::changed(markForUpload);
    }
    // A local edit: new title, marked for upload when it was uploaded.
    void edit(const char* newTitle) {
        title = newTitle;
        changed(true);
    }

    FakeSongClass* cls;
    btkstring title, group, author, remark, text, lang;
    int changedCalls = 0;
};

inline btkstring FakeSongClass::fieldText(dbwSynObject* object, int fieldId) {
    auto* s = static_cast<FakeSong*>(object);
    switch (fieldId) {
    case 23: return btkIntToStr(s->netid);
    case 27: return s->title;
    case 29: return s->group;
    case 31: return s->author;
    case 33: return s->remark;
    case 35: return s->text;
    case 184: return s->lang;
    default: return btkstring();
    }
}

inline void FakeSongClass::setField(dbwSynObject* object, int fieldId, const btkstring& text) {
    auto* s = static_cast<FakeSong*>(object);
    switch (fieldId) {
    case 23: s->netid = text.toInt(); break;
    case 27: s->title = text; break;
    case 29: s->group = text; break;
    case 31: s->author = text; break;
    case 33: s->remark = text; break;
    case 35: s->text = text; break;
    case 184: s->lang = text; break;
    default: break;
    }
}

// The songs of one database; deleted songs are kept aside until the table
// goes, as a model that releases them later would.
class FakeSongTable : public dbwSynTable {
public:
    dbwSynClass* synClass() override { return &cls; }
    void getObjects(btkCntVec<dbwSynObject*>& objects) override {
        if (nullInObjects) objects.add(nullptr);
        for (auto& s : songs) objects.add(s.get());
    }
    void deleteObject(dbwSynObject* object) override {
        auto it = std::find_if(songs.begin(), songs.end(), [&](auto& s) { return s.get() == object; });
        if (it == songs.end()) return;
        deleted.push_back(std::move(*it));
        songs.erase(it);
    }
    int tableId() override { return id; }
    dbwSynObject* newObject() override {
        if (refuseNew) return nullptr;
        songs.push_back(std::make_unique<FakeSong>(&cls));
        return songs.back().get();
    }
    int nextLocalId() override { return ++lastLocid; }

    // A local song that was never uploaded.
    FakeSong* add(const char* title, const char* lang = "cz", const char* text = "") {
        auto* s = static_cast<FakeSong*>(newObject());
        s->locid = nextLocalId();
        s->title = title;
        s->lang = lang;
        s->text = text;
        s->group = "Skupina";
        s->author = "Autor";
        return s;
    }
    FakeSong* byNetId(int netid) {
        for (auto& s : songs)
            if (s->netid == netid) return s.get();
        return nullptr;
    }
    FakeSong* byTitle(const char* title) {
        for (auto& s : songs)
            if (s->title == title) return s.get();
        return nullptr;
    }
    bool isDeleted(const FakeSong* song) const {
        return std::any_of(deleted.begin(), deleted.end(), [&](auto& s) { return s.get() == song; });
    }

    FakeSongClass cls;
    std::vector<std::unique_ptr<FakeSong>> songs;
    std::vector<std::unique_ptr<FakeSong>> deleted;
    int id = 1;
    int lastLocid = 0;
    bool refuseNew = false;
    bool nullInObjects = false;
};

// A song database as the program keeps it: Windows-1250 texts and a log.
class FakeSongDb : public dbwLocalDb {
public:
    void getTables(btkCntVec<dbwSynTable*>& tables) override {
        if (nullTable) tables.add(nullptr);
        tables.add(&table);
    }
    btkstring encoding() override { return "CP1250"; }
    void* openLog() override {
        ++opened;
        return &log;
    }
    void writeLog(void* handle, btkstring line) override {
        if (handle == &log) log.push_back(line.c_str());
    }
    void closeLog(void* handle) override {
        if (handle == &log) ++closed;
    }

    FakeSongTable table;
    std::vector<std::string> log;
    int opened = 0;
    int closed = 0;
    bool nullTable = false;
};

// A local database that overrides nothing but its tables.
class PlainDb : public dbwLocalDb {
public:
    void getTables(btkCntVec<dbwSynTable*>& tables) override { tables.add(&table); }
    FakeSongTable table;
};

// Records every step; stops when a step's text begins with stopAt.
class RecordingProgress : public dbwProgress {
public:
    bool step(int percent, const btkstring& text) override {
        steps.emplace_back(percent, text.c_str());
        if (during) during();
        return stopAt.empty() || !btkStartsWith(stopAt.c_str(), text);
    }
    // Called inside every step, while the run holds its transaction.
    std::function<void()> during;

    std::vector<std::pair<int, std::string>> steps;
    std::string stopAt;
};
