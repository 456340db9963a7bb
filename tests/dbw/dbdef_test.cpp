// The database definition model: ids, the registry, type descriptions over
// base chains, comparison of definitions and the XML form.
#include <gtest/gtest.h>

#include "dbw/dbwdbdef.h"
#include "def_builders.h"

namespace {

dbwDbTypeDef* addType(dbwDbDef& def, const char* name, int base) {
    auto* t = new dbwDbTypeDef(&def);
    t->name = name;
    t->basetype = base;
    def.types.add(t);
    return t;
}

}  // namespace

TEST(DbwDbDef, IdsFollowLastIdAndFieldTypesComeRightAfterTheirField) {
    dbwDbDef def;
    def.lastid = 7;
    dbwTableDef* t = defTable(def, "t");
    dbwFldDef* f = defField(t, "f", 1);
    EXPECT_EQ(8, t->id);
    EXPECT_EQ(9, f->id);
    EXPECT_EQ(10, f->type.id);
    EXPECT_EQ(t, def.tableById(8));
    EXPECT_EQ(f, def.fieldDefById(9));
    EXPECT_EQ(nullptr, def.tableById(9));
    EXPECT_EQ(&f->type, def.objectById(10)->asTypeDef());
    EXPECT_EQ(nullptr, def.objectById(11));
}

TEST(DbwDbDef, DeletingFromTheMiddleOfTheRegistryKeepsTheOthersFindable) {
    dbwDbDef def;
    dbwTableDef* t = defTable(def, "t");
    dbwFldDef* a = defField(t, "a", 1);
    dbwFldDef* b = defField(t, "b", 1);
    dbwFldDef* c = defField(t, "c", 1);
    int bid = b->id;
    t->fields.removeItems(1, 1);
    EXPECT_EQ(nullptr, def.objectById(bid));
    EXPECT_EQ(nullptr, def.objectById(bid + 1));
    EXPECT_EQ(a, def.fieldDefById(a->id));
    EXPECT_EQ(c, def.fieldDefById(c->id));
    EXPECT_EQ(t, def.tableById(t->id));
    EXPECT_EQ(5, def.objects.count());
}

TEST(DbwDbDef, DescriptionsFollowTheBaseChain) {
    dbwDbDef def;
    dbwDbTypeDef* a = addType(def, "A", 0);
    a->data.setAttr("size", "10");
    a->data.setAttr("sqltype", "varchar");
    dbwDbTypeDef* b = addType(def, "B", a->id);
    b->data.setAttr("size", "20");
    dbwFieldDesc d;
    b->describe(d);
    EXPECT_EQ(4, d.sqltype);
    EXPECT_EQ(20, d.size);
    a->describe(d);
    EXPECT_EQ(4, d.sqltype);
    EXPECT_EQ(10, d.size);

    // Storing B's description keeps only what differs from A.
    dbwFieldDesc wanted;
    wanted.sqltype = 4;
    wanted.size = 20;
    b->data.clear();
    b->setDescription(wanted);
    EXPECT_EQ(1, b->data.attrCount());
    EXPECT_EQ(btkstring("20"), b->data.attr("size"));
    // Without a base every attribute is stored, zeros included.
    a->setDescription(wanted);
    EXPECT_EQ(7, a->data.attrCount());
    EXPECT_EQ(btkstring("0"), a->data.attr("counted"));
}

TEST(DbwDbDef, BaseTypeLoopsEndAndUnknownBasesCountAsNone) {
    dbwDbDef def;
    dbwDbTypeDef* a = addType(def, "A", 0);
    dbwDbTypeDef* b = addType(def, "B", a->id);
    a->basetype = b->id;
    a->data.setAttr("size", "1");
    b->data.setAttr("size", "2");
    b->data.setAttr("sqltype", "char");
    dbwFieldDesc d;
    a->describe(d);
    EXPECT_EQ(1, d.size);
    EXPECT_EQ(12, d.sqltype);

    dbwDbTypeDef* c = addType(def, "C", 999);
    c->data.setAttr("sqltype", "CHAR");
    c->describe(d);
    EXPECT_EQ(nullptr, c->baseType());
    EXPECT_EQ(0, d.sqltype);
    EXPECT_EQ(0, d.size);
}

TEST(DbwDbDef, CounterFieldNeedsExactlyOneSerialField) {
    dbwDbDef def;
    dbwTableDef* t = defTable(def, "t");
    defField(t, "a", 1);
    EXPECT_EQ(nullptr, t->counterField());
    dbwFldDef* key = defField(t, "id", 2);
    EXPECT_EQ(key, t->counterField());
    defField(t, "id2", 2);
    EXPECT_EQ(nullptr, t->counterField());
}

TEST(DbwDbDef, ComparingDefinitionsById) {
    auto build = [](dbwDbDef& def) {
        dbwTableDef* t = defTable(def, "songs");
        defField(t, "title", 4, 40);
        defField(t, "text", 5);
        return t;
    };
    dbwDbDef a, b;
    dbwTableDef* ta = build(a);
    dbwTableDef* tb = build(b);
    EXPECT_EQ(0, compareTables(ta, tb));
    EXPECT_EQ(0, compareDbDefs(&a, &b));

    // Precision is not compared.
    dbwFieldDesc d;
    tb->fields[1]->type.describe(d);
    d.precision = 5;
    tb->fields[1]->type.setDescription(d);
    EXPECT_EQ(0, compareTables(ta, tb));

    tb->fields[0]->name = "name";
    EXPECT_EQ(1, compareFields(ta->fields[0], tb->fields[0]));
    EXPECT_EQ(2, compareTables(ta, tb));
    EXPECT_EQ(1, compareDbDefs(&a, &b));
    tb->fields[0]->name = "title";

    defField(tb, "extra", 1);
    EXPECT_EQ(1, compareTables(ta, tb));
    EXPECT_EQ(1, compareTables(tb, ta));
    tb->fields.removeItems(2, 1);

    auto* ia = new dbwIndexDef(ta);
    ta->indexes.add(ia);
    EXPECT_EQ(1, compareIndexes(ta, tb));
    EXPECT_EQ(1, compareDbDefs(&a, &b));
    auto* ib = new dbwIndexDef(tb);
    tb->indexes.add(ib);
    ib->id = ia->id;
    EXPECT_EQ(0, compareIndexes(ta, tb));
    ia->fields.add(ta->fields[0]);
    EXPECT_EQ(1, compareIndexFields(ia, ib));
    ib->fields.add(tb->fields[0]);
    EXPECT_EQ(0, compareIndexFields(ia, ib));
    EXPECT_EQ(0, compareDbDefs(&a, &b));

    defTable(b, "other");
    EXPECT_EQ(1, compareDbDefs(&a, &b));
    EXPECT_EQ(1, compareDbDefs(&b, &a));
}

TEST(DbwDbDefXML, RoundTripKeepsEverything) {
    dbwDbDef def;
    def.userdatatable = 3;
    def.versioned = true;
    dbwDbTypeDef* named = addType(def, "short text", 0);
    dbwFieldDesc nd;
    nd.sqltype = 4;
    nd.size = 20;
    named->setDescription(nd);
    dbwTableDef* t = defTable(def, "songs");
    t->title = "Písně";
    t->versioned = true;
    dbwFldDef* key = defField(t, "id", 2);
    dbwFldDef* title = defField(t, "title", 0);
    title->title = "Název";
    title->type.basetype = named->id;
    title->type.data.clear();
    title->type.data.setName("data");
    title->type.data.setAttr("size", "60");
    auto* index = new dbwIndexDef(t);
    index->name = "ix_title";
    index->fields.add(title);
    index->fields.add(key);
    t->indexes.add(index);
    auto* trashed = new dbwFldDef(t);
    trashed->name = "old";
    t->fieldtrash.add(trashed);
    auto* oldTable = new dbwTableDef(&def);
    oldTable->name = "gone";
    def.tabletrash.add(oldTable);

    btkXMLNode node;
    node.setName("dbdef");
    def.toXML(node);
    EXPECT_EQ(btkstring("item"), node.childByName("tables").child(0).name());
    EXPECT_EQ(btkIntToStr(title->id) + "," + btkIntToStr(key->id),
              node.childByName("tables").child(0).childByName("indexes").child(0).attr("fields"));

    btkXMLNode reparsed;
    reparsed.parse(node.toString());
    dbwDbDef back(reparsed);
    EXPECT_EQ(def.lastid, back.lastid);
    EXPECT_EQ(3, back.userdatatable);
    EXPECT_TRUE(back.versioned);
    EXPECT_FALSE(back.multiuser);
    ASSERT_EQ(1, back.tables.count());
    ASSERT_EQ(1, back.tabletrash.count());
    ASSERT_EQ(1, back.types.count());
    EXPECT_EQ(btkstring("gone"), back.tabletrash[0]->name);
    EXPECT_EQ(btkstring("short text"), back.types[0]->name);
    EXPECT_EQ(named->id, back.types[0]->id);

    dbwTableDef* bt = back.tables[0];
    EXPECT_EQ(t->id, bt->id);
    EXPECT_EQ(btkstring("Písně"), bt->title);
    EXPECT_TRUE(bt->versioned);
    ASSERT_EQ(2, bt->fields.count());
    ASSERT_EQ(1, bt->fieldtrash.count());
    EXPECT_EQ(btkstring("Název"), bt->fields[1]->title);
    EXPECT_EQ(title->type.id, bt->fields[1]->type.id);
    EXPECT_TRUE(bt->fields[1]->type.data.equals(title->type.data));
    dbwFieldDesc d;
    bt->fields[1]->type.describe(d);
    EXPECT_EQ(4, d.sqltype);
    EXPECT_EQ(60, d.size);
    EXPECT_EQ(bt->fields[0], bt->counterField());
    ASSERT_EQ(1, bt->indexes.count());
    EXPECT_EQ(0, compareDbDefs(&def, &back));
    EXPECT_EQ(def.objects.count(), back.objects.count());

    // Writing the read definition gives the same XML again (index fields
    // included, so they were found by id).
    btkXMLNode again;
    again.setName("dbdef");
    back.toXML(again);
    EXPECT_EQ(node.toString(), again.toString());
}

TEST(DbwDbDefXML, LenientReading) {
    btkXMLNode node;
    node.parse("<dbdef lastid=\"12\" userdatatable=\"4\" versioned=\"7\" multiuser=\"0\" />");
    dbwDbDef empty(node);
    EXPECT_EQ(12, empty.lastid);
    EXPECT_EQ(4, empty.userdatatable);
    EXPECT_TRUE(empty.versioned);
    EXPECT_FALSE(empty.multiuser);
    EXPECT_EQ(0, empty.tables.count());
    EXPECT_EQ(0, empty.types.count());

    node.parse(
        "<dbdef lastid=\"12\"><tables><table id=\"3\" name=\"t\"><fields>"
        "<f id=\"4\" name=\"a\"><type id=\"5\" basetype=\"0\"><data sqltype=\"int\" /></type></f>"
        "<f id=\"9\" name=\"b\"><type id=\"10\" /></f></fields>"
        "<fieldtrash><f id=\"11\" name=\"c\" /></fieldtrash>"
        "<indexes><i id=\"12\" name=\"ix\" fields=\"4,,9,11,77\" /></indexes></table></tables></dbdef>");
    dbwDbDef def(node);
    ASSERT_EQ(1, def.tables.count());
    dbwTableDef* t = def.tables[0];
    ASSERT_EQ(2, t->fields.count());
    ASSERT_EQ(1, t->indexes.count());
    ASSERT_EQ(2, t->indexes[0]->fields.count());  // 11 is trashed, 77 unknown
    EXPECT_EQ(4, t->indexes[0]->fields[0]->id);
    EXPECT_EQ(9, t->indexes[0]->fields[1]->id);
    EXPECT_EQ(0, t->fields[1]->type.data.attrCount());
    EXPECT_EQ(def.fieldDefById(11), t->fieldtrash[0]);

    // A new object after loading continues from lastid.
    auto* f = new dbwFldDef(t);
    t->fields.add(f);
    EXPECT_EQ(13, f->id);
}
