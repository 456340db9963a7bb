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

TEST(LogFile, RewriteKeepsEveryEntryButNoStrayTextOrEmptyLines) {
    LogFileContent log;
    log.parse(SampleLog);
    log.entries[1]->text = "nový\n\nobsah\n";
    const btkstring out = log.rewrite();
    EXPECT_EQ(out, btkstring("##BEGIN##[internalsyn]{9.12.2026 14:05:33}(Interní synchronizace)\n"
                             "##DBFILE##[db/prvni.xml]\n##DBFILE##[db/druha.xml]\n"
                             "   12 (netid=    0)# Píseň\n##BEGIN##[vnoreny]{1.1.2026 1:01:01}(uvnitř)\nřádek\n"
                             "##END##[jiny]\n##END##[internalsyn]\n"
                             "##BEGIN##[dupltest]{9.12.2026 8:00:07}(Test stejných písní)\nnový\nobsah\n"));
    LogFileContent again;
    again.parse(out);
    EXPECT_EQ(again.entries.count(), 2);
    EXPECT_EQ(again.stray, btkstring());
}

TEST(LogFile, EmptyOrMissingTextGivesNoEntries) {
    LogFileContent log;
    log.parse("");
    EXPECT_EQ(log.entries.count(), 0);
    EXPECT_EQ(log.rewrite(), btkstring());
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
