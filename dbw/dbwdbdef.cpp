#include "dbw/dbwdbdef.h"

#include "dbw/dbwadapter.h"
#include "foundation/btkxmltree.h"

void dbwWriteFieldDesc(btkXMLNode node, const dbwFieldDesc& d) {
    node.setIntAttr("size", d.size);
    node.setIntAttr("precision", d.precision);
    node.setIntAttr("scale", d.scale);
    node.setAttr("sqltype", dbwFieldTypeName(d.sqltype));
    node.setIntAttr("table", d.table);
    node.setIntAttr("canbenull", d.canbenull ? 1 : 0);
    node.setIntAttr("counted", d.counted ? 1 : 0);
}

// ---- objects and the registry -------------------------------------------------

dbwObjectDef::dbwObjectDef(dbwDbDef* o) : id(++o->lastid), owner(o) { owner->registerObject(this); }

dbwObjectDef::dbwObjectDef(dbwDbDef* o, int i) : id(i), owner(o) { owner->registerObject(this); }

dbwObjectDef::~dbwObjectDef() { owner->unregisterObject(this); }

void dbwDbDef::registerObject(dbwObjectDef* object) { objects.add(object); }

void dbwDbDef::unregisterObject(dbwObjectDef* object) {
    int i = objects.find(object);
    if (i < 0) return;
    objects[i] = objects[objects.count() - 1];
    objects.removeItems(objects.count() - 1, 1);
}

dbwDbDef::dbwDbDef() = default;

dbwDbDef::~dbwDbDef() {
    // The definitions unregister themselves: the registry must outlive them.
    tables.clear();
    tabletrash.clear();
    types.clear();
    typetrash.clear();
}

dbwObjectDef* dbwDbDef::objectById(int id) const {
    for (dbwObjectDef* object : objects)
        if (object->id == id) return object;
    return nullptr;
}

dbwTableDef* dbwDbDef::tableById(int id) const {
    dbwObjectDef* object = objectById(id);
    return object ? object->asTableDef() : nullptr;
}

dbwFldDef* dbwDbDef::fieldDefById(int id) const {
    dbwObjectDef* object = objectById(id);
    return object ? object->asFldDef() : nullptr;
}

// ---- types --------------------------------------------------------------------

dbwTypeDef::dbwTypeDef(dbwDbDef* owner) : dbwObjectDef(owner) { data.setName("data"); }

dbwTypeDef* dbwTypeDef::baseType() const {
    if (basetype == 0) return nullptr;
    dbwObjectDef* object = owner->objectById(basetype);
    return object ? object->asTypeDef() : nullptr;
}

void dbwTypeDef::describe(dbwFieldDesc& out) const {
    btkCntVec<const dbwTypeDef*> chain;
    chain.add(this);
    for (const dbwTypeDef* base = baseType(); base && chain.find(base) < 0; base = base->baseType()) chain.add(base);

    btkXMLNode merged;
    for (int i = chain.count() - 1; i >= 0; --i) XMLMergeTree(merged, chain[i]->data);

    out = dbwFieldDesc();
    out.size = merged.intAttr("size");
    out.precision = merged.intAttr("precision");
    out.scale = merged.intAttr("scale");
    out.table = merged.intAttr("table");
    out.sqltype = dbwFieldTypeFromName(merged.attr("sqltype"));
    out.canbenull = merged.intAttr("canbenull") != 0;
    out.counted = merged.intAttr("counted") != 0;
}

void dbwTypeDef::setDescription(const dbwFieldDesc& d) {
    btkXMLNode old;
    if (dbwTypeDef* base = baseType()) {
        dbwFieldDesc inherited;
        base->describe(inherited);
        dbwWriteFieldDesc(old, inherited);
    }
    btkXMLNode wanted;
    dbwWriteFieldDesc(wanted, d);
    data.clear();
    XMLDiffTree(wanted, old, data);
    data.setName("data");
}

// ---- fields, indexes, tables ----------------------------------------------------

dbwFldDef::dbwFldDef(dbwTableDef* t) : dbwObjectDef(t->owner), table(t), type(t->owner) {}

dbwIndexDef::dbwIndexDef(dbwTableDef* t) : dbwObjectDef(t->owner), table(t) {}

dbwTableDef::dbwTableDef(dbwDbDef* owner) : dbwObjectDef(owner) {}

dbwTableDef::~dbwTableDef() {
    // Indexes point at fields: they go first.
    indexes.clear();
    indextrash.clear();
    fields.clear();
    fieldtrash.clear();
}

dbwFldDef* dbwTableDef::fieldById(int id) const {
    for (dbwFldDef* field : fields)
        if (field->id == id) return field;
    return nullptr;
}

dbwIndexDef* dbwTableDef::indexById(int id) const {
    for (dbwIndexDef* index : indexes)
        if (index->id == id) return index;
    return nullptr;
}

dbwFldDef* dbwTableDef::counterField() const {
    dbwFldDef* found = nullptr;
    for (dbwFldDef* field : fields) {
        dbwFieldDesc d;
        field->type.describe(d);
        if (d.sqltype != 2) continue;
        if (found) return nullptr;
        found = field;
    }
    return found;
}

// ---- comparison -------------------------------------------------------------------

int compareFields(dbwFldDef* a, dbwFldDef* b) {
    if (a->name != b->name) return 1;
    dbwFieldDesc da, db;
    a->type.describe(da);
    b->type.describe(db);
    return da.sqltype != db.sqltype || da.size != db.size ? 1 : 0;
}

int compareTables(dbwTableDef* a, dbwTableDef* b) {
    int level = a->name != b->name ? 2 : 0;
    for (dbwFldDef* fa : a->fields) {
        dbwFldDef* fb = b->fieldById(fa->id);
        if (!fb)
            level = btkMax(level, 1);
        else if (compareFields(fa, fb))
            level = 2;
    }
    for (dbwFldDef* fb : b->fields)
        if (!a->fieldById(fb->id)) level = btkMax(level, 1);
    return level;
}

int compareIndexFields(dbwIndexDef* a, dbwIndexDef* b) {
    if (a->fields.count() != b->fields.count()) return 1;
    for (int i = 0; i < a->fields.count(); ++i)
        if (a->fields[i]->id != b->fields[i]->id) return 1;
    return 0;
}

int compareIndexes(dbwTableDef* ta, dbwTableDef* tb) {
    for (dbwIndexDef* ia : ta->indexes) {
        dbwIndexDef* ib = tb->indexById(ia->id);
        if (!ib || compareIndexFields(ia, ib)) return 1;
    }
    for (dbwIndexDef* ib : tb->indexes)
        if (!ta->indexById(ib->id)) return 1;
    return 0;
}

int compareDbDefs(dbwDbDef* a, dbwDbDef* b) {
    for (dbwTableDef* ta : a->tables) {
        dbwTableDef* tb = b->tableById(ta->id);
        if (!tb || compareTables(ta, tb) != 0 || compareIndexes(ta, tb) == 1) return 1;
    }
    for (dbwTableDef* tb : b->tables)
        if (!a->tableById(tb->id)) return 1;
    return 0;
}
