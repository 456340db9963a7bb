// Reading and rewriting the daily log files, and the number under a click.
#include "app/main/logfile.h"

#include <gtest/gtest.h>

namespace {

const char* const SampleLog =
    "volný text před\n"
    "\n"
    "##BEGIN##[internalsyn]{9.12.2026 14:05:33}(Interní synchronizace)\n"
    "##DBFILE##[db/prvni.xml]\n"
    "##DBFILE##[db/druha.xml]\n"
    "   12 (netid=    0)# Píseň\n"
    "##BEGIN##[vnoreny]{1.1.2026 1:01:01}(uvnitř)\n"
    "##END##[jiny]\n"
    "řádek\n"
    "##END##[internalsyn]\n"
    "mezi záznamy\n"
    "##BEGIN##[dupltest]{9.12.2026 8:00:07}(Test stejných písní)\n"
    "K vymazání:\n";

TEST(LogFile, EntriesHeadLinesEndLinesAndStrayText) {
    LogFileContent log;
    log.parse(SampleLog);
    ASSERT_EQ(log.entries.count(), 2);
    const LogEntry& first = *log.entries[0];
    EXPECT_EQ(first.name, btkstring("internalsyn"));
    EXPECT_EQ(first.title, btkstring("Interní synchronizace"));
    EXPECT_EQ(first.dateTime, btkstring("9.12.2026 14:05:33"));
    // Two DBFILE lines stay among the head lines; the last one wins.
    EXPECT_EQ(first.headLines.count(), 3);
    EXPECT_EQ(first.dbFile, btkstring("db/druha.xml"));
    // A BEGIN inside an open entry is text, an END of another name an end
    // line that keeps the entry open.
    EXPECT_EQ(first.text,
              btkstring("   12 (netid=    0)# Píseň\n##BEGIN##[vnoreny]{1.1.2026 1:01:01}(uvnitř)\nřádek\n"));
    ASSERT_EQ(first.endLines.count(), 2);
    EXPECT_EQ(first.endLines[0], btkstring("##END##[jiny]"));
    EXPECT_EQ(log.stray, btkstring("volný text před\nmezi záznamy\n"));
    // An entry without its END runs to the end of the file.
    EXPECT_EQ(log.entries[1]->text, btkstring("K vymazání:\n"));
    EXPECT_EQ(log.entries[1]->endLines.count(), 0);

    EXPECT_EQ(LogEntryCaption(first), btkstring("Interní synchronizace 14:05:33"));
    EXPECT_EQ(LogEntryCaption(*log.entries[1]), btkstring("Test stejných písní 08:00:07"));
}

// An edit replaces the body of one entry; every other byte stays: text
// before, between and after entries, blank lines, the other entries, the
// closing end line, the file's line ends.
TEST(LogFile, EditChangesOnlyTheEntrysBody) {
    const struct {
        const char* file;
        int entry;
        const char* text;
        const char* expected;
    } rows[] = {
        {"před\r\n\r\n##BEGIN##[a]{}(A)\r\nstaré\r\n##END##[a]\r\n\r\nmezi\r\n\r\n##BEGIN##[b]{}(B)\r\nb\r\n##END##[b]"
         "\r\npo\r\n",
         0, "nové\n\ndva\n",
         "před\r\n\r\n##BEGIN##[a]{}(A)\r\nnové\r\ndva\r\n##END##[a]\r\n\r\nmezi\r\n\r\n##BEGIN##[b]{}(B)\r\nb\r\n##"
         "END##[b]\r\npo\r\n"},
        {"\n##BEGIN##[a]{}(A)\n##DBFILE##[db/"
         "x.xml]\nx\n\n##END##[jiny]\ny\n##END##[a]\n\n\n##BEGIN##[b]{}(B)\nb\n##END##[b]\n",
         0, "z\n",
         "\n##BEGIN##[a]{}(A)\n##DBFILE##[db/"
         "x.xml]\nz\n##END##[jiny]\n##END##[a]\n\n\n##BEGIN##[b]{}(B)\nb\n##END##[b]\n"},
        {"##BEGIN##[a]{}(A)\r\na\r\n##END##[a]\r\n\r\n##BEGIN##[b]{}(B)\r\nbez konce\r\n\r\n", 1, "konec\n",
         "##BEGIN##[a]{}(A)\r\na\r\n##END##[a]\r\n\r\n##BEGIN##[b]{}(B)\r\nkonec\r\n\r\n"},
        {"text\n##BEGIN##[a]{}(A)", 0, "první\n", "text\n##BEGIN##[a]{}(A)\nprvní\n"},
        {"##BEGIN##[a]{}(A)\na\n##END##[a]\n", 3, "x\n", "##BEGIN##[a]{}(A)\na\n##END##[a]\n"},
    };
    for (const auto& r : rows) {
        LogFileContent log;
        log.parse(r.file);
        const btkstring out = log.withEntryText(r.entry, r.text);
        EXPECT_EQ(out, btkstring(r.expected)) << r.file;
        // The same text again gives the same bytes.
        LogFileContent again;
        again.parse(out);
        EXPECT_EQ(again.withEntryText(r.entry, r.text), out) << r.file;
        EXPECT_EQ(again.stray, log.stray) << r.file;
    }
}

TEST(LogFile, EmptyOrMissingTextGivesNoEntries) {
    LogFileContent log;
    log.parse("");
    EXPECT_EQ(log.entries.count(), 0);
    EXPECT_EQ(log.withEntryText(0, "x\n"), btkstring());
    // Unreadable date parts count as 0; a head without brackets has empty
    // parts.
    log.parse("##BEGIN##\n##END##\n");
    ASSERT_EQ(log.entries.count(), 1);
    EXPECT_EQ(LogEntryCaption(*log.entries[0]), btkstring(" 00:00:00"));
}

TEST(LogFile, NumberUnderAColumn) {
    const char* line = "id 12345 konec";
    for (int column = 3; column <= 8; ++column) EXPECT_EQ(LogNumberAt(line, column), 12345) << column;
    EXPECT_EQ(LogNumberAt(line, 0), 0);
    EXPECT_EQ(LogNumberAt(line, 9), 0);
    EXPECT_EQ(LogNumberAt("", 0), 0);
    EXPECT_EQ(LogNumberAt("7", 5), 0);
    EXPECT_EQ(LogNumberAt("99999999999999", 3), 999999999);
}

}  // namespace
