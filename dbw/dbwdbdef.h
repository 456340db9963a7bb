// The database definition model: the tables, fields, indexes and named
// column types of a managed database, each with an id unique within its
// definition and never reused. Stored as XML inside the database.
#pragma once

#include "foundation/btkarray.h"
#include "foundation/btkstring.h"
#include "foundation/btkxml.h"

class dbwDbDef;
class dbwTypeDef;
class dbwTableDef;
class dbwFldDef;
class dbwIndexDef;
class dbwDbTypeDef;

// The effective description of a column type.
struct dbwFieldDesc {
    int sqltype = 0;  // column type code 0 (none) to 12 (char)
    int size = 0;
    int table = 0;  // id of the table a reference column points to
    int precision = 0;
    int scale = 0;
    bool canbenull = false;
    bool counted = false;
};

// Base of every definition object: its id and the definition it belongs to.
// Construction registers the object with its owner, destruction removes it.
class dbwObjectDef {
public:
    // A new object: the next id of the owner.
    explicit dbwObjectDef(dbwDbDef* owner);
    // An object read back with the id it was stored with.
    dbwObjectDef(dbwDbDef* owner, int id);
    dbwObjectDef(const dbwObjectDef&) = delete;
    dbwObjectDef& operator=(const dbwObjectDef&) = delete;
    virtual ~dbwObjectDef();
    virtual dbwTypeDef* asTypeDef() { return nullptr; }
    virtual dbwTableDef* asTableDef() { return nullptr; }
    virtual dbwFldDef* asFldDef() { return nullptr; }
    virtual dbwIndexDef* asIndexDef() { return nullptr; }

    int id;
    dbwDbDef* owner;
};

// A column type: the description attributes it sets itself, on top of an
// optional base type.
class dbwTypeDef : public dbwObjectDef {
public:
    explicit dbwTypeDef(dbwDbDef* owner);
    dbwTypeDef(dbwDbDef* owner, const btkXMLNode& node);
    dbwTypeDef* asTypeDef() override { return this; }
    // Writes id, basetype and the data child into node.
    virtual void toXML(btkXMLNode node) const;

    // The base type, null for none or an id that is no type.
    dbwTypeDef* baseType() const;
    // The description of the whole base chain, this type's values winning.
    void describe(dbwFieldDesc& out) const;
    // Stores d as what differs from the base chain's description.
    void setDescription(const dbwFieldDesc& d);

    btkXMLNode data;
    int basetype = 0;
};

// The type of one field, owned by the field.
class dbwFldTypeDef : public dbwTypeDef {
public:
    using dbwTypeDef::dbwTypeDef;
};

// A named type of the database.
class dbwDbTypeDef : public dbwTypeDef {
public:
    explicit dbwDbTypeDef(dbwDbDef* owner) : dbwTypeDef(owner) {}
    dbwDbTypeDef(dbwDbDef* owner, const btkXMLNode& node);
    void toXML(btkXMLNode node) const override;

    btkstring name;
};

class dbwFldDef : public dbwObjectDef {
public:
    // A new field of table; its type gets the id after the field's.
    explicit dbwFldDef(dbwTableDef* table);
    dbwFldDef(dbwTableDef* table, const btkXMLNode& node);
    dbwFldDef* asFldDef() override { return this; }
    void toXML(btkXMLNode node) const;

    btkstring name;
    btkstring title;
    dbwTableDef* table;
    dbwFldTypeDef type;
};

class dbwIndexDef : public dbwObjectDef {
public:
    explicit dbwIndexDef(dbwTableDef* table);
    // Field ids that are no live field of the table are left out.
    dbwIndexDef(dbwTableDef* table, const btkXMLNode& node);
    dbwIndexDef* asIndexDef() override { return this; }
    void toXML(btkXMLNode node) const;

    dbwTableDef* table;
    btkstring name;
    btkCntVec<dbwFldDef*> fields;
};

class dbwTableDef : public dbwObjectDef {
public:
    explicit dbwTableDef(dbwDbDef* owner);
    dbwTableDef(dbwDbDef* owner, const btkXMLNode& node);
    ~dbwTableDef() override;
    dbwTableDef* asTableDef() override { return this; }
    void toXML(btkXMLNode node) const;

    // Among the live fields and indexes only.
    dbwFldDef* fieldById(int id) const;
    dbwIndexDef* indexById(int id) const;
    // The one live field described as serial; null for none or several.
    dbwFldDef* counterField() const;

    btkstring name;
    btkstring title;
    btkObjArray<dbwFldDef> fields;
    btkObjArray<dbwFldDef> fieldtrash;
    btkObjArray<dbwIndexDef> indexes;
    btkObjArray<dbwIndexDef> indextrash;
    bool versioned = false;
};

class dbwDbDef {
public:
    dbwDbDef();
    // Reads a definition written by toXML; reading never fails.
    explicit dbwDbDef(const btkXMLNode& node);
    dbwDbDef(const dbwDbDef&) = delete;
    dbwDbDef& operator=(const dbwDbDef&) = delete;
    ~dbwDbDef();
    // Writes the definition into node (the caller names the element).
    void toXML(btkXMLNode node) const;

    // Every lookup searches all registered objects, trashed ones included.
    dbwObjectDef* objectById(int id) const;
    dbwTableDef* tableById(int id) const;
    dbwFldDef* fieldDefById(int id) const;

    void registerObject(dbwObjectDef* object);
    void unregisterObject(dbwObjectDef* object);

    int lastid = 0;
    btkObjArray<dbwTableDef> tables;
    btkObjArray<dbwTableDef> tabletrash;
    btkObjArray<dbwDbTypeDef> types;
    btkObjArray<dbwDbTypeDef> typetrash;
    btkCntVec<dbwObjectDef*> objects;
    int userdatatable = 0;
    bool versioned = false;
    bool multiuser = false;
};

// Comparison of an old and a new definition, by id.
// 1 when the names, the described column types or sizes differ.
int compareFields(dbwFldDef* a, dbwFldDef* b);
// 2 for a renamed table or a changed field, 1 for a field only one side has.
int compareTables(dbwTableDef* a, dbwTableDef* b);
int compareIndexFields(dbwIndexDef* a, dbwIndexDef* b);
int compareIndexes(dbwTableDef* a, dbwTableDef* b);
int compareDbDefs(dbwDbDef* a, dbwDbDef* b);

// A description as the attributes of node, in their stored order.
void dbwWriteFieldDesc(btkXMLNode node, const dbwFieldDesc& desc);
