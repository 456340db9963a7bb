// The text helpers inside dbwlib: the CREATE TABLE parse of SQLite, the
// PostgreSQL connection string and column types, literal quoting.
#include <gtest/gtest.h>

#include "dbwpgtext.h"
#include "dbwsqliteschema.h"
#include "dbwtext.h"

using namespace dbwlib_detail;

namespace {

std::vector<std::string> parsed(const std::string& sql) {
    std::vector<std::string> out;
    for (const auto& c : dbwParseCreateTable(sql)) out.push_back(c.name + ": " + c.type);
    return out;
}

using Columns = std::vector<std::string>;

TEST(SqliteCreateTableParse, ColumnsAndTheirTypeTexts) {
    const struct {
        const char* sql;
        Columns columns;
    } cases[] = {
        // A PRIMARY KEY clause gives no column; names merely starting so do.
        {"CREATE TABLE t (id INTEGER PRIMARY KEY, name varchar(20) NOT NULL, PRIMARY KEY(id))",
         {"id: INTEGER PRIMARY KEY", "name: varchar(20) NOT NULL"}},
        {"CREATE TABLE t (a int, primary key (a, b), b text)", {"a: int", "b: text"}},
        {"CREATE TABLE t (primary_id int, pri text)", {"primary_id: int", "pri: text"}},
        // Types keep their parentheses and lose trailing line breaks.
        {"CREATE TABLE t(\n  price numeric(10,2) DEFAULT (1+2),\n  n\tint\n)",
         {"price: numeric(10,2) DEFAULT (1+2)", "n: int"}},
        {"CREATE TABLE t(a, b)", {"a: ", "b: "}},
        // Table constraints, quoted texts and comments are skipped whole.
        {"CREATE TABLE t (a int DEFAULT 'x,)y', b int, CONSTRAINT pk PRIMARY KEY (a), UNIQUE (a, b), "
         "CHECK (a > 0), FOREIGN KEY (b) REFERENCES u(id))",
         {"a: int DEFAULT 'x,)y'", "b: int"}},
        {"CREATE TABLE t (-- the key, first\n a int /* ) */, b text)", {"a: int /* ) */", "b: text"}},
        {"CREATE TABLE t (\"my col\" TEXT, `b``q` int, [c d] real, \"primary\" int)",
         {"my col: TEXT", "b`q: int", "c d: real", "primary: int"}},
        // Texts without a column list give none; an unclosed one what it has.
        {"", {}},
        {"CREATE TABLE t", {}},
        {"CREATE TABLE t ()", {}},
        {"CREATE TABLE t (a int", {"a: int"}},
    };
    for (const auto& c : cases) EXPECT_EQ(parsed(c.sql), c.columns) << c.sql;
}

TEST(PgConnectionString, QuotesEveryValueAndLeavesOutEmptyOnes) {
    EXPECT_EQ(dbwPgConnectionString("songs", nullptr, nullptr, nullptr, 0), "dbname='songs'");
    EXPECT_EQ(dbwPgConnectionString("songs", "/run/pg", "me", "", 5433),
              "dbname='songs' host='/run/pg' user='me' port='5433'");
    EXPECT_EQ(dbwPgConnectionString("a b", "", nullptr, "it's\\x", 0), "dbname='a b' password='it\\'s\\\\x'");
    EXPECT_EQ(dbwPgConnectionString(nullptr, nullptr, "u", nullptr, 0), "user='u'");
    // A value cannot add a keyword of its own.
    EXPECT_EQ(dbwPgConnectionString("x' host='evil", nullptr, nullptr, nullptr, 0), "dbname='x\\' host=\\'evil'");
}

TEST(PgColumnType, ModifiersAndSerial) {
    EXPECT_EQ(dbwPgColumnType("varchar", "44", nullptr), "varchar(40)");
    EXPECT_EQ(dbwPgColumnType("numeric", std::to_string((10 << 16 | 2) + 4).c_str(), nullptr), "numeric(10,2)");
    EXPECT_EQ(dbwPgColumnType("decimal", std::to_string((7 << 16) + 4).c_str(), nullptr), "decimal(7,0)");
    EXPECT_EQ(dbwPgColumnType("int4", "-1", "nextval('t_id_seq'::regclass)"), "serial");
    EXPECT_EQ(dbwPgColumnType("int4", "-1", "42"), "int4");
    // Declared without a length: the modifier is -1 and nothing is added.
    EXPECT_EQ(dbwPgColumnType("varchar", "-1", nullptr), "varchar");
    EXPECT_EQ(dbwPgColumnType("numeric", "-1", nullptr), "numeric");
}

TEST(SafeIdentifier, ControlBytesAndBrokenUtf8AreRefused) {
    const struct {
        const char* name;
        bool safe;
    } rows[] = {
        {"songs", true},
        {"it's`x", true},
        {"p\xc3\xadse\xc5\x88", true},
        {"\xf0\x9f\x8e\xb5", true},
        {"", false},
        {nullptr, false},
        {"a\nb", false},
        {"a\x7f", false},
        {"\xbf`", false},
        {"\xe9`", false},
        {"\xc3", false},
        {"\xc0\x80", false},
    };
    for (const auto& r : rows) EXPECT_EQ(dbwSafeIdentifier(r.name), r.safe) << (r.name ? r.name : "null");
}

TEST(LiteralQuoting, DoublesQuotesUpToTheGivenLength) {
    char buffer[32];
    EXPECT_EQ(dbwQuoteLiteral(buffer, "it's", 4), 5u);
    EXPECT_STREQ(buffer, "it''s");
    EXPECT_EQ(dbwQuoteLiteral(buffer, "a\\b''", 3), 3u);
    EXPECT_STREQ(buffer, "a\\b");
    EXPECT_EQ(dbwQuoteLiteral(buffer, "''", 2), 4u);
    EXPECT_STREQ(buffer, "''''");
    EXPECT_EQ(dbwQuoteLiteral(buffer, "", 0), 0u);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(dbwQuotedLiteral("x'y"), "x''y");
}

TEST(RecordCopy, CutsToTheFieldSize) {
    char field[4];
    dbwCopyText(field, sizeof field, "abcdef");
    EXPECT_STREQ(field, "abc");
    dbwCopyText(field, sizeof field, nullptr);
    EXPECT_STREQ(field, "");
    dbwCopyText(field, sizeof field, "ab");
    EXPECT_STREQ(field, "ab");
}

}  // namespace
