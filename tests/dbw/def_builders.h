// Small builders of database definitions for the adapter tests.
#pragma once

#include <initializer_list>

#include "dbw/dbwdbdef.h"
#include "foundation/btkstrings.h"
#include "foundation/btkxml.h"

inline dbwTableDef* defTable(dbwDbDef& def, const char* name) {
    auto* t = new dbwTableDef(&def);
    t->name = name;
    def.tables.add(t);
    return t;
}

inline dbwFldDef* defField(dbwTableDef* t, const char* name, int sqltype, int size = 0, int precision = 0,
                           int scale = 0) {
    auto* f = new dbwFldDef(t);
    f->name = name;
    dbwFieldDesc d;
    d.sqltype = sqltype;
    d.size = size;
    d.precision = precision;
    d.scale = scale;
    f->type.setDescription(d);
    t->fields.add(f);
    return f;
}

// A table with its fields in one go: {name, sqltype, size} each.
struct defColumn {
    const char* name;
    int sqltype;
    int size = 0;
};
inline dbwTableDef* defTable(dbwDbDef& def, const char* name, std::initializer_list<defColumn> columns) {
    dbwTableDef* t = defTable(def, name);
    for (const defColumn& c : columns) defField(t, c.name, c.sqltype, c.size);
    return t;
}

inline dbwIndexDef* defIndex(dbwTableDef* t, const char* name, std::initializer_list<dbwFldDef*> fields) {
    auto* i = new dbwIndexDef(t);
    i->name = name;
    for (dbwFldDef* f : fields) i->fields.add(f);
    t->indexes.add(i);
    return i;
}

// Field and value lists as the row statements take them.
inline btkCntVec<dbwFldDef*> defFields(std::initializer_list<dbwFldDef*> fields) {
    btkCntVec<dbwFldDef*> out;
    for (dbwFldDef* f : fields) out.add(f);
    return out;
}

inline btkStrings defValues(std::initializer_list<btkstring> texts) {
    btkStrings out;
    for (const btkstring& t : texts) out.add(t);
    return out;
}

inline btkstring defXML(const dbwDbDef& def) {
    btkXMLNode node;
    node.setName("dbdef");
    def.toXML(node);
    return node.toString();
}

// A copy through the stored XML form: same ids, independent objects.
inline dbwDbDef* defCopy(const dbwDbDef& def) {
    btkXMLNode node;
    node.parse(defXML(def));
    return new dbwDbDef(node);
}

inline dbwFieldDesc defDesc(const dbwFldDef* f) {
    dbwFieldDesc d;
    f->type.describe(d);
    return d;
}
