#include "dbw/dbwadapter.h"

#include "dbw/dbwdbdef.h"

dbwAdapter::dbwAdapter(dbwDbConnection* connection, const btkstring& encoding, dbwActiveConnection* lender,
                       dbwMetadata* schemaReader)
    : owner(lender),
      encodingName(encoding),
      self(new dbwAdapterActiveConnection(this)),
      toDatabase("UTF-8", encoding),
      fromDatabase(encoding, "UTF-8"),
      reader(schemaReader),
      conn(connection) {}

dbwAdapter::~dbwAdapter() {
    if (conn) {
        if (owner)
            owner->releaseLock();
        else
            conn->release();
    }
}

const char* dbwAdapter::typeName(int type) {
    switch (type) {
    case 1:
    case 2:
    case 3:
    case 6:
    case 7: return "INT";
    case 4: return "VARCHAR";
    case 5: return "TEXT";
    case 8: return "DATETIME";
    case 9: return "BLOB";
    case 10: return "FLOAT";
    case 11: return "NUMERIC";
    case 12: return "CHAR";
    default: return "";
    }
}

bool dbwAdapter::execList(const btkStrings& statements) {
    for (const btkstring& statement : statements) {
        if (!conn->exec(statement + ";")) {
            error = btkstring("Chyba při zpracovávání dotazu:\n") + statement + "\n";
            return false;
        }
    }
    return true;
}

btkstring dbwAdapter::limitClause(int offset, int count) { return btkFormat(" LIMIT %d OFFSET %d", count, offset); }

btkstring dbwAdapter::quoteIdentifier(btkstring name) { return name; }

int dbwAdapter::typeFromName(btkstring name) {
    static const struct {
        const char* name;
        int type;
    } names[] = {{"INT", 1},      {"SERIAL", 2}, {"BOOL", 3},   {"VARCHAR", 4},  {"TEXT", 5}, {"SMALLINT", 6},
                 {"DATETIME", 8}, {"BLOB", 9},   {"FLOAT", 10}, {"NUMERIC", 11}, {"CHAR", 12}};
    for (const auto& n : names)
        if (name == n.name) return n.type;
    return 0;
}

btkstring dbwAdapter::emptyTableSQL(btkstring table) {
    return btkFormat("TRUNCATE TABLE %s", quoteIdentifier(table).c_str());
}

btkstring dbwAdapter::isNullSQL(btkstring expression) { return expression + " IS NULL"; }

btkstring dbwAdapter::isNotNullSQL(btkstring expression) { return expression + " IS NOT NULL"; }

btkstring dbwAdapter::dropIndexSQL(dbwIndexDef* index) {
    return btkstring("DROP INDEX ") + quoteIdentifier(index->name);
}

bool dbwAdapter::primaryKeyInCreate() { return true; }

bool dbwAdapter::canAlterColumns() { return true; }

bool dbwAdapter::execFormat(const char* format, dbwSQLArgs args) { return exec(dbwFormatSQL(this, format, args)); }

dbwResultRef dbwAdapter::queryFormat(const char* format, dbwSQLArgs args) {
    return query(dbwFormatSQL(this, format, args));
}

btkstring dbwAdapter::queryValueFormat(const char* format, dbwSQLArgs args) {
    return dbwSelectValue(this, dbwFormatSQL(this, format, args), true);
}

int dbwAdapter::insertGetId(const char* sql, const char* table, const char* keyColumn) {
    return conn->insertGetId(sql, table, keyColumn);
}

bool dbwAdapter::engineOption() { return false; }

bool dbwAdapter::indexSerialKey() { return false; }

void dbwAdapter::afterCreate() {}

void dbwAdapter::afterCreateTableSQL(dbwTableDef*, btkStrings&) {}

btkstring dbwAdapter::errorText(bool clear) {
    btkstring text = error;
    if (clear) error = btkstring();
    btkstring last = conn ? conn->lastError() : btkstring();
    if (!text.empty() && !last.empty()) text += "\n";
    return text + last;
}

bool dbwAdapter::exec(const char* sql) { return conn->exec(sql); }

dbwResultRef dbwAdapter::query(const char* sql) { return dbwResultRef(new dbwAdapterResult(conn->query(sql), this)); }

dbwResultRef dbwAdapter::queryParams(const char* sql, const btkStrings& params) {
    return dbwResultRef(new dbwAdapterResult(conn->queryParams(sql, params), this));
}

// ---- results ----------------------------------------------------------------

dbwAdapterResult::dbwAdapterResult(dbwDbResult* r, dbwAdapter* a) : result(r), adapter(a) { next(); }

dbwAdapterResult::~dbwAdapterResult() {
    if (result) result->release();
}

bool dbwAdapterResult::next() {
    ++row;
    current = result && result->next();
    return current;
}

int dbwAdapterResult::fieldCount() { return result ? result->fieldCount() : 0; }

btkstring dbwAdapterResult::fieldName(int i) {
    if (i < 0 || i >= fieldCount()) return btkstring();
    return result->fieldName(i);
}

namespace {

class TextReceiver : public dbwValueReceiver {
public:
    void receive(const char* data, int length) override {
        char* buffer = text.getBuffer(length);
        for (int i = 0; i < length; ++i) buffer[i] = data[i];
        buffer[length] = 0;
        text.updateLength();
    }
    btkstring text;
};

}  // namespace

btkstring dbwAdapterResult::value(int i) {
    if (!result || !current) return btkstring();
    btkstring text;
    if (const char* v = result->value(i)) {
        text = v;
    } else {
        TextReceiver receiver;
        if (!result->valueInto(i, receiver)) return btkstring();
        text = receiver.text;
    }
    return convert ? adapter->fromDatabaseEncoding(text) : text;
}

btkstring dbwAdapterResult::valueByName(const char* name) {
    btkstring wanted = btkstring(name).upper();
    int n = fieldCount();
    for (int i = 0; i < n; ++i)
        if (btkstring(result->fieldName(i)).upper() == wanted) return value(i);
    return btkstring();
}

bool dbwResultRef::isValid() const { return isSet() && get()->isValid(); }

bool dbwResultRef::hasRow() const { return isSet() && get()->hasRow(); }

bool dbwResultRef::next() const { return isSet() && get()->next(); }

btkstring dbwResultRef::value(int column) const { return isSet() ? get()->value(column) : btkstring(); }

btkstring dbwResultRef::valueByName(const char* name) const { return isSet() ? get()->valueByName(name) : btkstring(); }
