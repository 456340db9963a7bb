// Managed databases: the library's name/value table dbw_info, holding the
// magic row and the database definition as XML.
#include "dbw/dbwadapter.h"
#include "dbw/dbwdbdef.h"
#include "dbw/dbwmetadata.h"
#include "foundation/btkxml.h"

namespace {

// The definition as the XML text of one element "dbdef".
btkstring structureXML(const dbwDbDef& def) {
    btkXMLNode node;
    node.setName("dbdef");
    def.toXML(node);
    return node.toString();
}

}  // namespace

bool dbwAdapter::isManaged() {
    if (!reader || !reader->tableExists("dbw_info")) return false;
    return queryValueFormat("SELECT %i FROM %i WHERE %i='dbw_magic'", {"value", "dbw_info", "name"}) == "DBW";
}

bool dbwAdapter::attach(dbwDbDef* def) {
    dbwDbDef empty;
    btkstring xml = structureXML(def ? *def : empty);
    if (isManaged()) {
        error = "Database is allready under DBW";
        return false;
    }
    // The definition is stored in the connection's encoding, escaped by the
    // connection itself (MySQL reads backslashes in literals as escapes).
    btkstring literal = btkstring("'") + escapedValue(xml, true) + "'";
    btkStrings list;
    list.add(dbwFormatSQL(this, "CREATE TABLE %i (%i VARCHAR(32) NOT NULL,%i %q NOT NULL,PRIMARY KEY (%i))",
                          {"dbw_info", "name", "value", typeName(5), "name"}));
    list.add(dbwFormatSQL(this, "INSERT INTO %i (%i,%i) VALUES ('dbw_magic','DBW')", {"dbw_info", "name", "value"}));
    list.add(dbwFormatSQL(this, "INSERT INTO %i (%i,%i) VALUES ('dbw_structure',%q)",
                          {"dbw_info", "name", "value", literal}));
    return execList(list);
}

bool dbwAdapter::detach() {
    if (!isManaged()) {
        error = "Database is not under DBW";
        return false;
    }
    return execFormat("DROP TABLE %i", {"dbw_info"});
}

dbwDbDef* dbwAdapter::readStructure() {
    if (!isManaged()) return nullptr;
    btkstring xml = queryValueFormat("SELECT %i FROM %i WHERE %i='dbw_structure'", {"value", "dbw_info", "name"});
    if (xml.empty()) return nullptr;
    btkXMLNode node;
    try {
        node.parse(xml);
    } catch (const btkXMLLoadError& e) {
        error = btkstring("The stored database structure is not valid XML: ") + e.message();
        return nullptr;
    }
    return new dbwDbDef(node);
}

bool dbwAdapter::writeStructure(dbwDbDef* def) {
    btkstring literal = btkstring("'") + escapedValue(structureXML(*def), true) + "'";
    return execFormat("UPDATE %i SET %i=%q WHERE %i='dbw_structure'", {"dbw_info", "value", literal, "name"});
}

btkstring dbwAdapter::escapedValue(const char* text, bool convert) {
    return dbwEscapeText(this, convert ? toDatabaseEncoding(text) : btkstring(text));
}
