// Users, sessions and rights against the internet song database fixture,
// through a stored and an active connection as the program makes them.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "dbw/dbwactiveconnection.h"
#include "dbw/dbwdbdef.h"
#include "dbw/dbwsession.h"
#include "dbw/dbwstoredconnection.h"
#include "inetdb_test.h"

namespace {

class DbwSessionPg : public kx6InetDbTest {
protected:
    DbwSessionPg() : kx6InetDbTest("kx6_session") {}
    void SetUp() override {
        kx6InetDbTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        stored = std::make_unique<dbwStoredConnection>(inet->connectionElement());
        active.reset(stored->createActiveConnection(true));
        ASSERT_NE(nullptr, active) << stored->lastError.c_str();
        manager = std::make_unique<dbwSessionManager>(active.get(), "CP1250");
    }
    void TearDown() override {
        manager.reset();
        active.reset();
        stored.reset();
        kx6InetDbTest::TearDown();
    }

    std::unique_ptr<dbwStoredConnection> stored;
    std::unique_ptr<dbwActiveConnection> active;
    std::unique_ptr<dbwSessionManager> manager;
};

// Lends nothing and counts how often it was asked.
class NoConnection : public dbwActiveConnectionBase {
public:
    dbwAdaRef acquire() override {
        ++asked;
        return dbwAdaRef();
    }
    int asked = 0;
};

}  // namespace

TEST_F(DbwSessionPg, LoginReadsTheUserAndItsRights) {
    std::unique_ptr<dbwSession> s(manager->login(kx6InetDb::login, kx6InetDb::password));
    ASSERT_NE(nullptr, s) << manager->takeLastError().c_str();
    EXPECT_EQ(inet->userId(), s->userId());
    EXPECT_EQ(btkstring("tester"), s->loginName());
    EXPECT_EQ(btkstring("tester@example.org"), s->userField(159));
    EXPECT_EQ(btkstring(), s->userField(999));  // no such definition object
    EXPECT_EQ(btkstring(), s->userField(1));    // a table, not a field
    for (const char* right : {"dbadd", "dbchg", "dbdel", "ddadd"}) EXPECT_TRUE(s->hasRight(right)) << right;
    EXPECT_FALSE(s->hasRight("DBADD"));
    EXPECT_FALSE(s->hasRight("dbad"));
    EXPECT_FALSE(s->hasRight(""));
    ASSERT_NE(nullptr, manager->dbDef());
    EXPECT_EQ(manager->dbDef(), manager->dbDef());
    EXPECT_NE(nullptr, manager->dbDef()->tableById(1));
}

TEST_F(DbwSessionPg, WrongPasswordsAndInjectedTextsLogNobodyIn) {
    struct Attempt {
        const char* login;
        const char* password;
    };
    for (Attempt a : {Attempt{"tester", "Heslo"}, Attempt{"nikdo", "heslo"}, Attempt{"x' OR 1=1 --", "x"},
                      Attempt{"tester' --", "x"}, Attempt{"tester", "x' OR '1'='1"}, Attempt{"tester\\", "heslo"}}) {
        EXPECT_EQ(nullptr, manager->login(a.login, a.password)) << a.login << " / " << a.password;
        EXPECT_EQ(btkstring("Špatný login nebo heslo"), manager->takeLastError());
        EXPECT_EQ(btkstring(), manager->takeLastError());
    }
    // The server is still fine after the odd texts.
    std::unique_ptr<dbwSession> s(manager->login("tester", "heslo"));
    EXPECT_NE(nullptr, s);
}

TEST_F(DbwSessionPg, AccountsAreCreatedOnceWithTheirTextsConverted) {
    // Windows-1250 texts in the program, UTF-8 on the server.
    const char* login = "Jiří Žluťoučký";
    const char* password = "kůň úpěl ďábelské ódy";
    std::unique_ptr<dbwSession> created(manager->createUser(login, password));
    ASSERT_NE(nullptr, created) << manager->takeLastError().c_str();
    EXPECT_GT(created->userId(), inet->userId());
    EXPECT_EQ("Ji\xc5\x99\xc3\xad \xc5\xbdlu\xc5\xa5ou\xc4\x8dk\xc3\xbd",
              inet->value(btkFormat("SELECT dbw_login FROM dbw_users WHERE dbw_id=%d", created->userId()).c_str()));
    EXPECT_EQ(btkstring(login), created->loginName());
    // Every other column keeps its default: no rights at all.
    EXPECT_FALSE(created->hasRight("dbadd"));

    std::unique_ptr<dbwSession> again(manager->login(login, password));
    ASSERT_NE(nullptr, again) << manager->takeLastError().c_str();
    EXPECT_EQ(created->userId(), again->userId());

    EXPECT_EQ(nullptr, manager->createUser(login, "jiné"));
    EXPECT_EQ(btkstring("Uživatelské jméno už existuje"), manager->takeLastError());
    EXPECT_EQ(nullptr, manager->createUser("tester", "x"));
    EXPECT_EQ(btkstring("Uživatelské jméno už existuje"), manager->takeLastError());

    // Quotes are data, not SQL.
    std::unique_ptr<dbwSession> quoted(manager->createUser("o'neil", "it's"));
    ASSERT_NE(nullptr, quoted) << manager->takeLastError().c_str();
    EXPECT_EQ(btkstring("o'neil"), quoted->loginName());
}

TEST_F(DbwSessionPg, AccountCreationFailures) {
    NoConnection none;
    dbwSessionManager offline(&none, "CP1250");
    EXPECT_EQ(nullptr, offline.createUser("abc", "heslo"));
    EXPECT_EQ(btkstring("Minimální délka přihlašovacího jména jsou 4 znaky"), offline.takeLastError());
    EXPECT_EQ(0, none.asked);  // refused before any query
    EXPECT_EQ(nullptr, offline.login("tester", "heslo"));
    EXPECT_FALSE(offline.takeLastError().empty());

    // Four characters are enough; a login the column cannot hold is refused
    // by the server.
    std::unique_ptr<dbwSession> four(manager->createUser("abcd", "x"));
    EXPECT_NE(nullptr, four);
    EXPECT_EQ(nullptr, manager->createUser(std::string(70, 'a').c_str(), "x"));
    EXPECT_EQ(btkstring("Uživatele se nepovedlo vytvořit"), manager->takeLastError());
}

TEST_F(DbwSessionPg, RightsAreSplitAndReadOncePerSession) {
    ASSERT_TRUE(inet->exec("UPDATE dbw_users SET dbw_rights='dbadd;;dbchg;' WHERE dbw_login='tester'"));
    std::unique_ptr<dbwSession> s(manager->login("tester", "heslo"));
    ASSERT_NE(nullptr, s);
    EXPECT_TRUE(s->hasRight("dbadd"));
    EXPECT_TRUE(s->hasRight("dbchg"));
    EXPECT_FALSE(s->hasRight(""));
    EXPECT_FALSE(s->hasRight("dbdel"));

    ASSERT_TRUE(inet->exec("UPDATE dbw_users SET dbw_rights='dbdel' WHERE dbw_login='tester'"));
    EXPECT_TRUE(s->hasRight("dbadd"));  // this session keeps what it read
    EXPECT_FALSE(s->hasRight("dbdel"));
    std::unique_ptr<dbwSession> next(manager->login("tester", "heslo"));
    ASSERT_NE(nullptr, next);
    EXPECT_TRUE(next->hasRight("dbdel"));
    EXPECT_FALSE(next->hasRight("dbadd"));
}
