// The column layout of the song grid in an options node, and the column
// dialog on the column properties.
#include <QListWidget>

#include "app/settings/columnfrm.h"
#include "appenv.h"
#include "foundation/qt/btkqstring.h"

namespace {

TEST(ColumnLayout, LoadChangesOnlyWhatTheNodeNamesAndSaveWritesEveryProperty) {
    btkObjArray<ColProp> props;
    MakeStandardColProps(props);
    ASSERT_EQ(props.count(), 16);
    EXPECT_EQ(props[1]->caption, btkstring("Název"));
    EXPECT_TRUE(props[5]->visible);
    EXPECT_EQ(props[5]->width, 50);

    btkXMLNode node;
    node.parse(
        "<mainwin.list count=\"5\" visible0=\"0\" wi0=\"40\" visible1=\"2\" wi2=\"130\" wi3=\"-7\" "
        "wi4=\"3\" visible7=\"0\" />");
    LoadColumnLayout(node, props);
    EXPECT_FALSE(props[0]->visible);
    EXPECT_EQ(props[0]->width, 40);
    EXPECT_TRUE(props[1]->visible);
    EXPECT_EQ(props[1]->width, 50);
    EXPECT_EQ(props[2]->width, 130);
    // Negative and tiny stored widths are raised to the minimum.
    EXPECT_EQ(props[3]->width, ColumnMinWidth);
    EXPECT_EQ(props[4]->width, ColumnMinWidth);
    // Beyond count nothing is read.
    EXPECT_TRUE(props[7]->visible);

    node.parse("<mainwin.list count=\"18\" wi17=\"90\" />");
    LoadColumnLayout(node, props);
    ASSERT_EQ(props.count(), 18);
    EXPECT_EQ(props[16]->caption, btkstring("???"));
    EXPECT_TRUE(props[16]->visible);
    EXPECT_EQ(props[16]->width, 50);
    EXPECT_EQ(props[17]->width, 90);

    btkCntVec<int> ids;
    VisibleColumnIds(props, 17, ids);
    EXPECT_EQ(ids.count(), 16);
    EXPECT_EQ(ids[0], 1);
    EXPECT_EQ(ids.find(17), -1);

    btkXMLNode saved;
    saved.setName("mainwin.list");
    SaveColumnLayout(saved, props);
    EXPECT_EQ(saved.attrCount(), 1 + 2 * 18);
    EXPECT_EQ(saved.attr("count"), btkstring("18"));
    EXPECT_EQ(saved.attr("visible0"), btkstring("0"));
    EXPECT_EQ(saved.attr("visible1"), btkstring("1"));
    EXPECT_EQ(saved.attr("wi17"), btkstring("90"));
    btkObjArray<ColProp> again;
    MakeStandardColProps(again);
    LoadColumnLayout(saved, again);
    for (int i = 0; i < 18; ++i) {
        EXPECT_EQ(again[i]->visible, props[i]->visible) << i;
        EXPECT_EQ(again[i]->width, props[i]->width) << i;
    }
}

class ColumnDialog : public ::testing::Test {
protected:
    void SetUp() override {
        MakeStandardColProps(props);
        for (const char* name : {"tempo", "key"}) {
            auto* prop = new ColProp;
            prop->caption = name;
            props.add(prop);
        }
        props[4]->visible = false;
    }
    btkObjArray<ColProp> props;
    Tcolumnfrm window;
};

TEST_F(ColumnDialog, ShowsTheStandardColumnsAndTheGivenUserColumnsOnly) {
    window.runner = [](Tcolumnfrm& w) {
        EXPECT_EQ(btkFromQString(w.windowTitle()), btkstring("Viditelné sloupce"));
        EXPECT_EQ(w.cols->count(), 17);
        EXPECT_EQ(btkFromQString(w.cols->item(0)->text()), btkstring("Zásobník"));
        EXPECT_EQ(btkFromQString(w.cols->item(16)->text()), btkstring("tempo"));
        EXPECT_EQ(w.cols->item(4)->checkState(), Qt::Unchecked);
        EXPECT_EQ(w.cols->item(5)->checkState(), Qt::Checked);
        w.cols->item(4)->setCheckState(Qt::Checked);
        w.cols->item(16)->setCheckState(Qt::Unchecked);
        return int(QDialog::Accepted);
    };
    props[17]->visible = false;
    EXPECT_TRUE(window.Execute(props, 1));
    EXPECT_TRUE(props[4]->visible);
    EXPECT_FALSE(props[16]->visible);
    // The column beyond the count is left alone.
    EXPECT_FALSE(props[17]->visible);

    window.runner = [](Tcolumnfrm& w) {
        EXPECT_EQ(w.cols->count(), 16);
        return int(QDialog::Accepted);
    };
    EXPECT_TRUE(window.Execute(props, 0));
}

TEST_F(ColumnDialog, CancelChangesNothingAndEveryColumnMayBeHidden) {
    window.runner = [](Tcolumnfrm& w) {
        for (int i = 0; i < w.cols->count(); ++i) w.cols->item(i)->setCheckState(Qt::Unchecked);
        return int(QDialog::Rejected);
    };
    EXPECT_FALSE(window.Execute(props, 2));
    EXPECT_TRUE(props[0]->visible);
    EXPECT_FALSE(props[4]->visible);

    window.runner = [](Tcolumnfrm& w) {
        for (int i = 0; i < w.cols->count(); ++i) w.cols->item(i)->setCheckState(Qt::Unchecked);
        return int(QDialog::Accepted);
    };
    EXPECT_TRUE(window.Execute(props, 2));
    for (ColProp* prop : props) EXPECT_FALSE(prop->visible);
}

TEST_F(ColumnDialog, MoreUserColumnsThanPropertiesShowsOnlyThePropertiesThere) {
    window.runner = [](Tcolumnfrm& w) {
        EXPECT_EQ(w.cols->count(), 18);
        return int(QDialog::Accepted);
    };
    EXPECT_TRUE(window.Execute(props, 5));
}

}  // namespace
