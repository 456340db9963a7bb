// Managed databases, schema changes, schema reading, counters and the row
// and version-log statements, each run on a real engine.
#include "live_engine_cases.h"

#include <memory>

#include "dbw/dbwdbdef.h"
#include "dbw/dbwmetadata.h"
#include "def_builders.h"
#include "foundation/btkconverter.h"

void LiveEngineTest::SetUp() {
    GetParam()->open(ada);
    if (IsSkipped() || HasFatalFailure()) return;
    ASSERT_TRUE(ada.isSet());
}

void LiveEngineTest::TearDown() {
    ada = nullptr;
    GetParam()->close();
}

void LiveEngineTest::run(const btkStrings& statements) {
    ASSERT_TRUE(ada->execList(statements)) << ada->errorText(true).c_str() << "\nin:\n"
                                           << btkJoin(statements, '\n').c_str();
}

btkstring LiveEngineTest::value(const char* sql) { return dbwSelectValue(ada.get(), sql, true); }

namespace {

btkstring utf8(const char* cp1250) { return btkConverter("CP1250", "UTF-8").convert(cp1250); }

// items: id serial, name varchar(40).
struct ItemsDef {
    ItemsDef() {
        items = defTable(def, "items");
        id = defField(items, "id", 2);
        name = defField(items, "name", 4, 40);
    }
    dbwDbDef def;
    dbwTableDef* items;
    dbwFldDef* id;
    dbwFldDef* name;
    // The statements that make the table in an empty database.
    btkStrings createSQL(dbwAdapter* ada) {
        dbwDbDef none;
        btkStrings list;
        ada->upgradeSQL(&none, &def, list);
        return list;
    }
};

}  // namespace

TEST_P(LiveEngineTest, AttachReadWriteAndDetach) {
    EXPECT_FALSE(ada->isManaged());
    EXPECT_EQ(nullptr, ada->readStructure());
    EXPECT_FALSE(ada->detach());
    EXPECT_EQ(btkstring("Database is not under DBW"), ada->errorText(true));

    ItemsDef d;
    // A title in Czech (UTF-8 inside the library) with a quote and a
    // backslash: stored and read back unchanged on every engine.
    d.items->title = utf8("Písně 'první' \\n řada");
    ASSERT_TRUE(ada->attach(&d.def)) << ada->errorText(true).c_str();
    EXPECT_TRUE(ada->isManaged());
    EXPECT_FALSE(ada->attach(&d.def));
    EXPECT_EQ(btkstring("Database is allready under DBW"), ada->errorText(true));

    std::unique_ptr<dbwDbDef> back(ada->readStructure());
    ASSERT_NE(nullptr, back);
    EXPECT_EQ(defXML(d.def), defXML(*back));
    EXPECT_EQ(d.items->title, back->tableById(d.items->id)->title);

    d.items->title = utf8("Žluťoučký kůň");
    defField(d.items, "text", 5);
    EXPECT_TRUE(ada->writeStructure(&d.def)) << ada->errorText(true).c_str();
    back.reset(ada->readStructure());
    ASSERT_NE(nullptr, back);
    EXPECT_EQ(defXML(d.def), defXML(*back));

    EXPECT_TRUE(ada->detach()) << ada->errorText(true).c_str();
    EXPECT_FALSE(ada->isManaged());
    EXPECT_EQ(nullptr, ada->readStructure());
}

TEST_P(LiveEngineTest, AttachWithoutADefinitionAndDamagedMarks) {
    ASSERT_TRUE(ada->attach(nullptr)) << ada->errorText(true).c_str();
    std::unique_ptr<dbwDbDef> back(ada->readStructure());
    ASSERT_NE(nullptr, back);
    dbwDbDef empty;
    EXPECT_EQ(defXML(empty), defXML(*back));

    // An unreadable or empty stored structure gives null.
    ASSERT_TRUE(ada->execFormat("UPDATE %i SET %i='<dbdef lastid=\"3\" >' WHERE %i='dbw_structure'",
                                {"dbw_info", "value", "name"}));
    EXPECT_EQ(nullptr, ada->readStructure());
    EXPECT_TRUE(ada->errorText(true).startsWith("The stored database structure is not valid XML: "));
    ASSERT_TRUE(ada->execFormat("UPDATE %i SET %i='' WHERE %i='dbw_structure'", {"dbw_info", "value", "name"}));
    EXPECT_EQ(nullptr, ada->readStructure());
    EXPECT_TRUE(ada->isManaged());

    // Only the exact magic row makes a database managed.
    ASSERT_TRUE(ada->execFormat("UPDATE %i SET %i='dbw' WHERE %i='dbw_magic'", {"dbw_info", "value", "name"}));
    EXPECT_FALSE(ada->isManaged());
    EXPECT_EQ(nullptr, ada->readStructure());
    // Attach goes ahead and fails on the existing table.
    EXPECT_FALSE(ada->attach(nullptr));
    ASSERT_TRUE(ada->execFormat("DELETE FROM %i WHERE %i='dbw_magic'", {"dbw_info", "name"}));
    EXPECT_FALSE(ada->isManaged());
}

TEST_P(LiveEngineTest, UpgradeAddsAColumnAndKeepsEveryRow) {
    ItemsDef d;
    run(d.createSQL(ada.get()));
    ASSERT_TRUE(ada->exec("INSERT INTO items (name) VALUES ('a'), ('b')"));

    std::unique_ptr<dbwDbDef> next(defCopy(d.def));
    dbwTableDef* items = next->tableById(d.items->id);
    defField(items, "note", 5);
    defIndex(items, "items_name", {items->fieldById(d.name->id)});
    btkStrings list;
    ada->upgradeSQL(&d.def, next.get(), list);
    run(list);

    EXPECT_EQ(btkstring("2"), value("SELECT count(*) FROM items"));
    EXPECT_EQ(btkstring("b"), value("SELECT name FROM items WHERE id=2"));
    // A rebuild fills the default literal; ALTER TABLE leaves NULL.
    EXPECT_EQ(btkstring("2"), value(ada->canAlterColumns() ? "SELECT COUNT(*) FROM items WHERE note IS NULL"
                                                           : "SELECT COUNT(*) FROM items WHERE note=''"));
    // Keys go on after the highest.
    ASSERT_TRUE(ada->exec("INSERT INTO items (name, note) VALUES ('c', 'x')"));
    EXPECT_EQ(btkstring("3"), value("SELECT id FROM items WHERE name='c'"));

    std::unique_ptr<dbwDbDef> live(ada->readSchema());
    ASSERT_EQ(1, live->tables.count());
    ASSERT_EQ(3, live->tables[0]->fields.count());
    EXPECT_EQ(btkstring("note"), live->tables[0]->fields[2]->name);
    EXPECT_EQ(5, defDesc(live->tables[0]->fields[2]).sqltype);

    // Equal definitions change nothing, not even indexes.
    list.clear();
    ada->upgradeSQL(next.get(), next.get(), list);
    EXPECT_EQ(0, list.count());
}

TEST_P(LiveEngineTest, RebuildKeepsRowsFillsDefaultsAndContinuesKeys) {
    ItemsDef d;
    run(d.createSQL(ada.get()));
    for (const char* n : {"a", "b", "c"}) ASSERT_TRUE(ada->execFormat("INSERT INTO items (name) VALUES (%s)", {n}));
    ASSERT_TRUE(ada->exec("DELETE FROM items WHERE name='a'"));

    // Renaming the table and a field: a change that only a rebuild makes.
    std::unique_ptr<dbwDbDef> next(defCopy(d.def));
    dbwTableDef* songs = next->tableById(d.items->id);
    songs->name = "songs";
    songs->fieldById(d.name->id)->name = "title";
    defField(songs, "count", 1);
    defField(songs, "flag", 3);
    defField(songs, "at", 8);
    btkStrings list;
    ada->upgradeSQL(&d.def, next.get(), list);
    run(list);

    EXPECT_EQ(btkstring("2"), value("SELECT count(*) FROM songs"));
    EXPECT_EQ(btkstring("c"), value("SELECT title FROM songs WHERE id=3"));
    EXPECT_EQ(btkstring("0"), value("SELECT count FROM songs WHERE id=2"));
    EXPECT_EQ(btkstring("0"), value("SELECT flag FROM songs WHERE id=3"));
    EXPECT_EQ(btkstring("2"), value("SELECT count(*) FROM songs WHERE at IS NULL"));
    ASSERT_TRUE(ada->exec("INSERT INTO songs (title) VALUES ('d')")) << ada->errorText(true).c_str();
    EXPECT_EQ(btkstring("4"), value("SELECT id FROM songs WHERE title='d'"));
    EXPECT_FALSE(ada->metadata()->tableExists("items"));
    EXPECT_FALSE(ada->metadata()->tableExists("dbw_temp"));
}

TEST_P(LiveEngineTest, RebuildAddingACounterNumbersTheRows) {
    dbwDbDef def;
    dbwTableDef* plain = defTable(def, "plain", {{"name", 4, 40}});
    btkStrings list;
    ada->createTableSQL(plain, list);
    run(list);
    for (const char* n : {"a", "b", "c"}) ASSERT_TRUE(ada->execFormat("INSERT INTO plain (name) VALUES (%s)", {n}));
    std::unique_ptr<dbwDbDef> next(defCopy(def));
    dbwTableDef* items = next->tableById(plain->id);
    items->name = "items";  // a rename: only a rebuild makes it
    defField(items, "id", 2);
    list.clear();
    ada->alterTableSQL(plain, items, list);
    run(list);
    EXPECT_EQ(btkstring("3"), value("SELECT count(DISTINCT id) FROM items"));
    EXPECT_EQ(btkstring("3"), value("SELECT max(id) FROM items"));
    ASSERT_TRUE(ada->exec("INSERT INTO items (name) VALUES ('d')")) << ada->errorText(true).c_str();
    EXPECT_EQ(btkstring("4"), value("SELECT id FROM items WHERE name='d'"));
}

TEST_P(LiveEngineTest, ReadSchemaGivesTheEnginesTypeCodes) {
    dbwDbDef def;
    dbwTableDef* t = defTable(
        def, "typed", {{"id", 2}, {"name", 4, 40}, {"body", 5}, {"flag", 3}, {"n", 1}, {"small", 6}, {"at", 8}});
    defField(t, "price", 11, 0, 10, 2);
    defField(t, "code", 12, 3);
    btkStrings list;
    ada->createTableSQL(t, list);
    run(list);

    std::unique_ptr<dbwDbDef> live(ada->readSchema());
    ASSERT_EQ(1, live->tables.count());
    dbwTableDef* read = live->tables[0];
    EXPECT_EQ(btkstring("typed"), read->name);
    ASSERT_EQ(9, read->fields.count());
    const std::vector<int>& codes = GetParam()->typedCodes;
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(t->fields[i]->name, read->fields[i]->name);
        EXPECT_EQ(codes[static_cast<size_t>(i)], defDesc(read->fields[i]).sqltype) << read->fields[i]->name.c_str();
    }
    EXPECT_EQ(40, defDesc(read->fields[1]).size);
    EXPECT_TRUE(ada->metadata()->tableExists("typed"));
    EXPECT_FALSE(ada->metadata()->tableExists("TYPED"));
}

TEST_P(LiveEngineTest, ResetCounterAndEmptyTableContinueAfterTheHighestKey) {
    ItemsDef d;
    btkStrings list;
    ada->createTableSQL(d.items, list);
    run(list);
    for (int id : {1, 2, 7}) ASSERT_TRUE(ada->execFormat("INSERT INTO items (id, name) VALUES (%d, 'x')", {id}));
    EXPECT_TRUE(ada->resetCounter(d.items)) << ada->errorText(true).c_str();
    ASSERT_TRUE(ada->exec("INSERT INTO items (name) VALUES ('next')")) << ada->errorText(true).c_str();
    EXPECT_EQ(btkstring("8"), value("SELECT id FROM items WHERE name='next'"));

    EXPECT_TRUE(ada->emptyTable(d.items)) << ada->errorText(true).c_str();
    EXPECT_EQ(btkstring("0"), value("SELECT count(*) FROM items"));
    ASSERT_TRUE(ada->exec("INSERT INTO items (name) VALUES ('first')"));
    EXPECT_EQ(btkstring("1"), value("SELECT id FROM items WHERE name='first'"));
}

TEST_P(LiveEngineTest, RowsAndTheVersionLog) {
    dbwDbDef def;
    def.versioned = true;
    defTable(def, "dbw_versions", {{"dbw_id", 2}, {"dbw_created", 4, 32}, {"dbw_userid", 1}});
    defTable(def, "dbw_creations", {{"dbw_id", 2}, {"dbw_version", 1}, {"dbw_tableid", 1}, {"dbw_recordid", 1}});
    defTable(def, "dbw_updates",
             {{"dbw_version", 1}, {"dbw_tableid", 1}, {"dbw_recordid", 1}, {"dbw_fieldid", 1}, {"dbw_value", 5}});
    dbwTableDef* songs =
        defTable(def, "songs", {{"id", 2}, {"title", 4, 100}, {"text", 5}, {"dbw_version", 1}, {"dbw_creation", 1}});
    songs->versioned = true;
    dbwFldDef* id = songs->fields[0];
    dbwFldDef* title = songs->fields[1];
    dbwFldDef* text = songs->fields[2];
    dbwDbDef none;
    btkStrings list;
    ada->upgradeSQL(&none, &def, list);
    run(list);

    EXPECT_EQ(1, ada->newVersion(5));
    EXPECT_EQ(2, ada->newVersion(5));
    EXPECT_EQ(btkstring("5"), value("SELECT dbw_userid FROM dbw_versions WHERE dbw_id=2"));

    btkCntVec<dbwFldDef*> fields = defFields({title, text});
    btkStrings values = defValues({utf8("Já 'a' \\ ty"), utf8("řádek")});
    int key = ada->insertRecord(songs, id, fields, values, 2);
    EXPECT_EQ(1, key) << ada->errorText(true).c_str();
    EXPECT_EQ(1, ada->newCreation(2, songs->id, key));

    btkStrings out;
    EXPECT_TRUE(ada->selectRecord(fields, songs, id, key, out));
    ASSERT_EQ(2, out.count());
    EXPECT_EQ(values[0], out[0]);
    EXPECT_EQ(values[1], out[1]);
    EXPECT_FALSE(ada->selectRecord(fields, songs, id, 99, out));
    EXPECT_EQ(2, out.count());

    // Changing one field: the log row first, then the row with its version.
    btkCntVec<dbwFldDef*> changed = defFields({text});
    btkStrings newValues = defValues({utf8("nový 'text' \\")});
    list.clear();
    ada->updateRecordSQL(songs, id, 3, key, changed, newValues, list);
    ASSERT_EQ(2, list.count());
    run(list);
    out.clear();
    EXPECT_TRUE(ada->selectRecord(fields, songs, id, key, out));
    EXPECT_EQ(newValues[0], out[1]);
    EXPECT_EQ(btkstring("3"), value("SELECT dbw_version FROM songs WHERE id=1"));
    EXPECT_EQ(newValues[0], value("SELECT dbw_value FROM dbw_updates WHERE dbw_recordid=1"));
    EXPECT_EQ(btkIntToStr(text->id), value("SELECT dbw_fieldid FROM dbw_updates WHERE dbw_recordid=1"));

    EXPECT_TRUE(ada->updateRecord(songs, id, fields, values, key, true));
    out.clear();
    EXPECT_TRUE(ada->selectRecord(fields, songs, id, key, out));
    EXPECT_EQ(values[1], out[1]);

    // A versioned table's counter also passes the logged record ids.
    ASSERT_TRUE(ada->exec("INSERT INTO dbw_creations (dbw_version,dbw_tableid,dbw_recordid) VALUES (3, 0, 50)"));
    ASSERT_TRUE(ada->execFormat("INSERT INTO dbw_creations (dbw_version,dbw_tableid,dbw_recordid) VALUES (3, %d, 20)",
                                {songs->id}));
    EXPECT_TRUE(ada->resetCounter(songs)) << ada->errorText(true).c_str();
    int next = ada->insertRecord(songs, id, fields, values, 3);
    EXPECT_EQ(GetParam()->counterFromLog ? 21 : 2, next);
}
