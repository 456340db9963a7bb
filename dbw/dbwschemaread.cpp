// A definition of the live database, built from what the schema reader
// reports: a table definition per table, a field definition per column with
// the column's type text parsed by the engine's rules.
#include "dbw/dbwadapter.h"
#include "dbw/dbwdbdef.h"
#include "dbw/dbwmetadata.h"

dbwDbDef* dbwAdapter::readSchema() {
    auto* def = new dbwDbDef;
    if (!reader) return def;
    btkObjArray<dbwTableMetadata> tables;
    reader->tables(tables);
    for (const dbwTableMetadata* table : tables) readTable(def, *table);
    return def;
}

void dbwAdapter::readTable(dbwDbDef* def, const dbwTableMetadata& metadata) {
    auto* table = new dbwTableDef(def);
    def->tables.add(table);
    table->name = metadata.name;
    if (!reader) return;
    btkObjArray<dbwFieldMetadata> columns;
    reader->columns(table->name, columns);
    for (const dbwFieldMetadata* column : columns) readField(table, *column);
}

void dbwAdapter::readField(dbwTableDef* table, const dbwFieldMetadata& column) {
    auto* field = new dbwFldDef(table);
    table->fields.add(field);
    field->name = column.name;
    dbwFieldDesc desc;
    parseColumnType(column, desc);
    field->type.setDescription(desc);
}
