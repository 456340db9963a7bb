#include "test_servers.h"

#include <cstdlib>
#include <cstring>
#include <fstream>

namespace {

// First line of a fact file in the fixtures' folder, "" when it is missing.
std::string readFact(const char* name) {
    std::ifstream in(std::string(KX6_TEST_SERVERS_DIR) + "/" + name);
    std::string line;
    if (!in || !std::getline(in, line)) return {};
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    return line;
}

}  // namespace

std::string kx6PgConnInfo() { return readFact("pg.conninfo"); }
std::string kx6PgHost() { return readFact("pg.host"); }
std::string kx6PgPort() { return readFact("pg.port"); }
std::string kx6PgUser() { return readFact("pg.user"); }
std::string kx6MysqlSocket() { return readFact("mysql.socket"); }

bool kx6InCi() {
    const char* ci = std::getenv("CI");
    return ci && std::strcmp(ci, "true") == 0;
}
