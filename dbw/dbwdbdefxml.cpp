// The XML form of a database definition: every object writes its id first,
// list children are written as "item" and read whatever their name.
#include "dbw/dbwdbdef.h"
#include "foundation/btkstrings.h"

namespace {

template <class T> void writeList(btkXMLNode parent, const char* name, const btkObjArray<T>& list) {
    btkXMLNode element = parent.addChild(name);
    for (const T* item : list) item->toXML(element.addChild("item"));
}

template <class T, class Owner>
void readList(const btkXMLNode& parent, const char* name, Owner* owner, btkObjArray<T>& list) {
    btkXMLNode element = parent.childByName(name);
    for (int i = 0; i < element.childCount(); ++i) list.add(new T(owner, element.child(i)));
}

}  // namespace

// ---- database -----------------------------------------------------------------------

dbwDbDef::dbwDbDef(const btkXMLNode& node) {
    lastid = node.intAttr("lastid");
    readList(node, "tables", this, tables);
    readList(node, "tabletrash", this, tabletrash);
    readList(node, "types", this, types);
    readList(node, "typetrash", this, typetrash);
    userdatatable = node.intAttr("userdatatable");
    versioned = node.intAttr("versioned") != 0;
    multiuser = node.intAttr("multiuser") != 0;
}

void dbwDbDef::toXML(btkXMLNode node) const {
    node.setIntAttr("lastid", lastid);
    node.setIntAttr("userdatatable", userdatatable);
    node.setIntAttr("versioned", versioned ? 1 : 0);
    node.setIntAttr("multiuser", multiuser ? 1 : 0);
    writeList(node, "tables", tables);
    writeList(node, "tabletrash", tabletrash);
    writeList(node, "types", types);
    writeList(node, "typetrash", typetrash);
}

// ---- table ----------------------------------------------------------------------------

dbwTableDef::dbwTableDef(dbwDbDef* owner, const btkXMLNode& node) : dbwObjectDef(owner, node.intAttr("id")) {
    readList(node, "fields", this, fields);
    readList(node, "fieldtrash", this, fieldtrash);
    readList(node, "indexes", this, indexes);
    readList(node, "indextrash", this, indextrash);
    name = node.attr("name");
    title = node.attr("title");
    versioned = node.intAttr("versioned") != 0;
}

void dbwTableDef::toXML(btkXMLNode node) const {
    node.setIntAttr("id", id);
    writeList(node, "fields", fields);
    writeList(node, "fieldtrash", fieldtrash);
    writeList(node, "indexes", indexes);
    writeList(node, "indextrash", indextrash);
    node.setAttr("name", name);
    node.setAttr("title", title);
    node.setIntAttr("versioned", versioned ? 1 : 0);
}

// ---- field ------------------------------------------------------------------------------

dbwFldDef::dbwFldDef(dbwTableDef* t, const btkXMLNode& node)
    : dbwObjectDef(t->owner, node.intAttr("id")), table(t), type(t->owner, node.childByName("type")) {
    name = node.attr("name");
    title = node.attr("title");
}

void dbwFldDef::toXML(btkXMLNode node) const {
    node.setIntAttr("id", id);
    node.setAttr("name", name);
    node.setAttr("title", title);
    type.toXML(node.addChild("type"));
}

// ---- index --------------------------------------------------------------------------------

dbwIndexDef::dbwIndexDef(dbwTableDef* t, const btkXMLNode& node)
    : dbwObjectDef(t->owner, node.intAttr("id")), table(t) {
    name = node.attr("name");
    btkStrings pieces;
    btkSplit(pieces, node.attr("fields"), ',', false);
    for (const btkstring& piece : pieces)
        if (dbwFldDef* field = table->fieldById(btkAtoi(piece))) fields.add(field);
}

void dbwIndexDef::toXML(btkXMLNode node) const {
    node.setIntAttr("id", id);
    node.setAttr("name", name);
    btkstring ids;
    for (int i = 0; i < fields.count(); ++i) {
        if (i) ids += ',';
        ids += fields[i]->id;
    }
    node.setAttr("fields", ids);
}

// ---- types ---------------------------------------------------------------------------------

dbwTypeDef::dbwTypeDef(dbwDbDef* owner, const btkXMLNode& node) : dbwObjectDef(owner, node.intAttr("id")) {
    basetype = node.intAttr("basetype");
    data.assign(node.childByName("data"));
    data.setName("data");
}

void dbwTypeDef::toXML(btkXMLNode node) const {
    node.setIntAttr("id", id);
    node.setIntAttr("basetype", basetype);
    btkXMLNode copy = node.addChild("data");
    copy.assign(data);
    copy.setName("data");
}

dbwDbTypeDef::dbwDbTypeDef(dbwDbDef* owner, const btkXMLNode& node) : dbwTypeDef(owner, node) {
    name = node.attr("name");
}

void dbwDbTypeDef::toXML(btkXMLNode node) const {
    dbwTypeDef::toXML(node);
    node.setAttr("name", name);
}
