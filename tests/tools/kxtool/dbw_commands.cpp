// kxtool subcommands over the database library: the connection file's
// password and a database definition read from its XML.
#include <cstdio>

#include "dbw/dbwadapter.h"
#include "dbw/dbwdbdef.h"
#include "dbw/dbwstoredconnection.h"
#include "foundation/btkerror.h"
#include "foundation/btkxml.h"
#include "kxtool.h"

namespace {

// Prints the connection settings of a connection file, password included.
int connectionFile(const kxtool::Args& a) {
    if (a.size() != 1) return kxtool::usageError("dbw-connection FILE");
    try {
        btkXMLNode node;
        node.load(a[0].c_str());
        dbwStoredConnection c(node);
        std::printf("name=%s\nengine=%d\nserver=%s\nport=%d\nuser=%s\npassword=%s\ndbname=%s\nencoding=%s\n",
                    c.name.c_str(), c.engine, c.server.c_str(), c.port, c.user.c_str(), c.password.c_str(),
                    c.dbname.c_str(), c.encoding.c_str());
    } catch (const btkError& e) {
        std::fprintf(stderr, "kxtool: %s\n", e.what());
        return 1;
    }
    return 0;
}

// Prints each live table with its fields' described types, then the
// definition written back as XML.
int dbdef(const kxtool::Args& a) {
    if (a.size() != 1) return kxtool::usageError("dbw-dbdef FILE");
    try {
        btkXMLNode node;
        node.load(a[0].c_str());
        dbwDbDef def(node);
        for (dbwTableDef* t : def.tables) {
            std::printf("table %d %s\n", t->id, t->name.c_str());
            for (dbwFldDef* f : t->fields) {
                dbwFieldDesc d;
                f->type.describe(d);
                std::printf("  field %d %s %s size=%d\n", f->id, f->name.c_str(), dbwFieldTypeName(d.sqltype), d.size);
            }
        }
        btkXMLNode out;
        out.setName("dbdef");
        def.toXML(out);
        std::printf("%s", out.toString().c_str());
    } catch (const btkError& e) {
        std::fprintf(stderr, "kxtool: %s\n", e.what());
        return 1;
    }
    return 0;
}

}  // namespace

KXTOOL_COMMAND("dbw-connection", "dbw-connection FILE", connectionFile);
KXTOOL_COMMAND("dbw-dbdef", "dbw-dbdef FILE", dbdef);
