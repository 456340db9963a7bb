// The Firebird schema reader over a stand-in catalogue: the RDB$ system
// tables it reads are built in SQLite (names padded with blanks as Firebird
// pads them), and the connection calls itself "firebird".
#include <gtest/gtest.h>

#include <memory>

#include "dbw/dbwadapter.h"
#include "dbw/dbwdbdef.h"
#include "dbw/dbwmetadata.h"
#include "sqlite_connection.h"

namespace {

class FirebirdStandIn : public SQLiteTestConnection {
public:
    const char* engineName() override { return "firebird"; }
};

}  // namespace

TEST(DbwFirebirdMetadata, ReadsTablesAndColumnsFromTheCatalogue) {
    auto* conn = new FirebirdStandIn();
    ASSERT_TRUE(conn->connectFile(":memory:"));
    dbwAdaRef fb(dbwCreateAdapter(conn, "UTF-8", nullptr));
    btkStrings catalogue;
    catalogue.add("CREATE TABLE RDB$RELATIONS (RDB$RELATION_NAME CHAR(31))");
    catalogue.add("INSERT INTO RDB$RELATIONS VALUES ('RDB$FIELDS      '), ('SONGS       '), ('BOOKS   ')");
    catalogue.add("CREATE TABLE RDB$RELATION_FIELDS (RDB$FIELD_NAME, RDB$FIELD_SOURCE, RDB$RELATION_NAME)");
    catalogue.add("CREATE TABLE RDB$FIELDS (RDB$FIELD_NAME, RDB$FIELD_TYPE, RDB$FIELD_LENGTH, RDB$FIELD_SUB_TYPE)");
    catalogue.add("CREATE TABLE RDB$TYPES (RDB$FIELD_NAME, RDB$TYPE, RDB$TYPE_NAME)");
    catalogue.add(
        "INSERT INTO RDB$TYPES VALUES ('RDB$FIELD_TYPE', 8, 'LONG    '), ('RDB$FIELD_TYPE', 14, 'TEXT   '),"
        " ('RDB$FIELD_TYPE', 37, 'VARYING  '), ('RDB$FIELD_TYPE', 261, 'BLOB  '),"
        " ('RDB$FIELD_NAME', 14, 'WRONG')");
    catalogue.add(
        "INSERT INTO RDB$FIELDS VALUES ('S1', 8, 4, 0), ('S2', 14, 10, 0), ('S3', 37, 40, 0),"
        " ('S4', 261, 8, 1), ('S5', 261, 8, 0)");
    catalogue.add(
        "INSERT INTO RDB$RELATION_FIELDS VALUES ('ID    ', 'S1', 'SONGS'), ('CODE  ', 'S2', 'SONGS'),"
        " ('TITLE ', 'S3', 'SONGS'), ('BODY', 'S4', 'SONGS'), ('PICTURE', 'S5', 'SONGS'), ('X', 'S1', 'BOOKS')");
    ASSERT_TRUE(fb->execList(catalogue)) << fb->errorText(true).c_str();

    btkObjArray<dbwFieldMetadata> columns;
    fb->metadata()->columns("SONGS", columns);
    ASSERT_EQ(5, columns.count());
    const char* expected[][2] = {
        {"ID", "LONG"}, {"CODE", "CHAR(10)"}, {"TITLE", "VARCHAR(40)"}, {"BODY", "TEXT"}, {"PICTURE", "BLOB"}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(btkstring(expected[i][0]), columns[i]->name);
        EXPECT_EQ(btkstring(expected[i][1]), columns[i]->type);
    }

    std::unique_ptr<dbwDbDef> def(fb->readSchema());
    ASSERT_EQ(2, def->tables.count());
    EXPECT_EQ(btkstring("SONGS"), def->tables[0]->name);
    EXPECT_EQ(btkstring("BOOKS"), def->tables[1]->name);
    const int codes[] = {1, 12, 4, 5, 9};
    const int sizes[] = {0, 10, 40, 0, 0};
    for (int i = 0; i < 5; ++i) {
        dbwFieldDesc d;
        def->tables[0]->fields[i]->type.describe(d);
        EXPECT_EQ(codes[i], d.sqltype) << i;
        EXPECT_EQ(sizes[i], d.size) << i;
    }
    EXPECT_TRUE(fb->metadata()->tableExists("BOOKS"));
    EXPECT_FALSE(fb->metadata()->tableExists("RDB$FIELDS"));
}
