// The sort-key frame and the custom order dialog with the named orders kept
// under custom_order in the options.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

#include "app/settings/customsortfrm.h"
#include "appenv.h"
#include "foundation/qt/btkqstring.h"
#include "songs/uibridge.h"

namespace {

btkXMLNode parsed(const char* xml) {
    btkXMLNode node;
    node.parse(xml);
    return node;
}

TEST(SortKeys, ANewFrameHasNoActiveKeyAndEveryControlActivatesItsKey) {
    Tcustomsortctrl frame;
    for (int k = 0; k < 3; ++k) {
        EXPECT_FALSE(frame.isKeyActive(k));
        EXPECT_EQ(frame.fld[k]->currentIndex(), 0);
        EXPECT_EQ(frame.order[k]->currentIndex(), 0);
        EXPECT_EQ(frame.datatype[k]->currentIndex(), 0);
        EXPECT_FALSE(frame.user[k]->isEnabled());
    }
    EXPECT_EQ(frame.fld[0]->count(), 8);
    EXPECT_EQ(btkFromQString(frame.fld[0]->itemText(7)), btkstring("Uživatelské pole"));
    EXPECT_EQ(btkFromQString(frame.datatype[2]->itemText(1)), btkstring("Číslo"));

    const std::function<void()> changes[] = {
        [&] { frame.fld[2]->setCurrentIndex(3); },
        [&] { frame.user[2]->setText(QStringLiteral("tempo")); },
        [&] { frame.order[2]->setCurrentIndex(1); },
        [&] { frame.datatype[2]->setCurrentIndex(2); },
    };
    for (const auto& change : changes) {
        frame.setKeyActive(2, false);
        change();
        EXPECT_TRUE(frame.isKeyActive(2));
        EXPECT_FALSE(frame.isKeyActive(0));
        EXPECT_FALSE(frame.isKeyActive(1));
    }
    // The user edit serves only the user field.
    EXPECT_FALSE(frame.user[2]->isEnabled());
    frame.fld[2]->setCurrentIndex(7);
    EXPECT_TRUE(frame.user[2]->isEnabled());
    frame.fld[2]->setCurrentIndex(0);
    EXPECT_FALSE(frame.user[2]->isEnabled());
}

TEST(SortKeys, OnlyActiveKeysAreWrittenEachUnderItsOwnName) {
    Tcustomsortctrl frame;
    frame.fld[1]->setCurrentIndex(1);  // "Autor"
    frame.order[1]->setCurrentIndex(1);
    frame.user[1]->setText(QStringLiteral("x"));
    btkXMLNode element = parsed("<order name=\"a\" ><old /><older /></order>");
    frame.writeKeys(element);
    EXPECT_EQ(element.attr("name"), btkstring("a"));
    ASSERT_EQ(element.childCount(), 1);
    EXPECT_EQ(element.child(0).toString(),
              btkstring("<item2 colid=\"author\" custom=\"x\" revert=\"1\" datatype=\"0\" />\n"));

    // Key 1 on "Text", key 3 a numeric user field.
    frame.setKeyActive(1, false);
    frame.fld[0]->setCurrentIndex(4);
    frame.fld[2]->setCurrentIndex(7);
    frame.user[2]->setText(QStringLiteral("tempo"));
    frame.datatype[2]->setCurrentIndex(1);
    frame.writeKeys(element);
    ASSERT_EQ(element.childCount(), 2);
    EXPECT_EQ(element.child(0).name(), btkstring("item1"));
    EXPECT_EQ(element.child(0).attr("colid"), btkstring());
    EXPECT_EQ(element.child(1).name(), btkstring("item3"));
    EXPECT_EQ(element.child(1).attr("custom"), btkstring("tempo"));
    EXPECT_EQ(element.child(1).attr("datatype"), btkstring("1"));

    // Read back: "Text" comes back as the user field (its empty colid).
    Tcustomsortctrl other;
    other.readKeys(element);
    EXPECT_TRUE(other.isKeyActive(0));
    EXPECT_FALSE(other.isKeyActive(1));
    EXPECT_TRUE(other.isKeyActive(2));
    EXPECT_EQ(other.fld[0]->currentIndex(), 7);
    EXPECT_TRUE(other.user[0]->isEnabled());
    EXPECT_EQ(other.fld[2]->currentIndex(), 7);
    EXPECT_EQ(btkFromQString(other.user[2]->text()), btkstring("tempo"));
    EXPECT_EQ(other.datatype[2]->currentIndex(), 1);
}

TEST(SortKeys, ReadingKeepsLaterKeysOfAnOrderWithoutTheFirstAndClearsTheRest) {
    Tcustomsortctrl frame;
    frame.fld[0]->setCurrentIndex(2);
    ASSERT_TRUE(frame.isKeyActive(0));
    frame.readKeys(parsed("<order ><item2 colid=\"locid\" custom=\"\" revert=\"1\" datatype=\"1\" /></order>"));
    EXPECT_FALSE(frame.isKeyActive(0));
    EXPECT_TRUE(frame.isKeyActive(1));
    EXPECT_FALSE(frame.isKeyActive(2));
    EXPECT_EQ(btkFromQString(frame.fld[1]->currentText()), btkstring("LOCID"));
    EXPECT_EQ(frame.order[1]->currentIndex(), 1);
    EXPECT_EQ(frame.datatype[1]->currentIndex(), 1);
    EXPECT_FALSE(frame.user[1]->isEnabled());
    btkXMLNode written;
    frame.writeKeys(written);
    ASSERT_EQ(written.childCount(), 1);
    EXPECT_EQ(written.child(0).name(), btkstring("item2"));

    frame.readKeys(parsed("<order />"));
    for (int k = 0; k < 3; ++k) EXPECT_FALSE(frame.isKeyActive(k));
    // A stored group key.
    frame.readKeys(parsed("<order ><item1 colid=\"group\" custom=\"\" revert=\"0\" datatype=\"0\" /></order>"));
    EXPECT_EQ(btkFromQString(frame.fld[0]->currentText()), btkstring("Skupina"));
}

class CustomOrderDialog : public ::testing::Test {
protected:
    void SetUp() override {
        btkDefaultMessageBoxes().reset();
        btkDefaultMessageBoxes().quiet = true;
        OptionsRoot().parse(
            "<options ><custom_order ><order name=\"skupiny\" ><item1 colid=\"group\" custom=\"\" revert=\"0\" "
            "datatype=\"0\" /></order><order name=\"čísla\" ><item1 colid=\"locid\" custom=\"\" revert=\"1\" "
            "datatype=\"1\" /></order></custom_order></options>");
    }
    void TearDown() override {
        OptionsRoot().clear();
        btkDefaultMessageBoxes().reset();
    }
    btkXMLNode orders() { return OptionsRoot().childByName("custom_order"); }
    btkstring listed(int i) { return btkFromQString(window.list->item(i)->text()); }
    Tcustomsortfrm window;
};

TEST_F(CustomOrderDialog, SavesLoadsAndDeletesNamedOrders) {
    window.runner = [&](Tcustomsortfrm& w) {
        EXPECT_EQ(btkFromQString(w.windowTitle()), btkstring("Vlastní pořadí"));
        EXPECT_EQ(w.list->count(), 2);
        EXPECT_EQ(listed(1), btkstring("čísla"));

        // Nothing selected: loading and deleting do nothing.
        w.loadSelected();
        w.deleteSelected();
        EXPECT_EQ(orders().childCount(), 2);

        w.list->setCurrentRow(1);
        w.Button1->click();
        EXPECT_EQ(btkFromQString(w.savename->text()), btkstring("čísla"));
        EXPECT_EQ(btkFromQString(w.sortctrl->fld[0]->currentText()), btkstring("LOCID"));

        w.savename->clear();
        w.Button2->click();
        EXPECT_EQ(btkDefaultMessageBoxes().shown().back().text, btkstring(NoOrderNameText));

        w.sortctrl->fld[1]->setCurrentIndex(3);
        w.savename->setText(btkToQString("nové"));
        w.Button2->click();
        EXPECT_EQ(w.list->count(), 3);
        EXPECT_EQ(listed(2), btkstring("nové"));
        const btkXMLNode added = orders().child(2);
        EXPECT_EQ(added.name(), btkstring("order"));
        EXPECT_EQ(added.attr("name"), btkstring("nové"));
        EXPECT_EQ(added.childCount(), 2);

        w.list->setCurrentRow(0);
        w.Button3->click();
        EXPECT_EQ(w.list->count(), 2);
        EXPECT_EQ(orders().childCount(), 2);
        EXPECT_EQ(listed(0), btkstring("čísla"));
        return int(QDialog::Rejected);
    };
    EXPECT_EQ(window.Execute(), nullptr);
    // Deleting asked nothing; the named orders stay saved after a cancel.
    EXPECT_EQ(btkDefaultMessageBoxes().shown().size(), 1u);
    EXPECT_EQ(orders().childCount(), 2);
}

TEST_F(CustomOrderDialog, AnExistingNameIsOverwrittenOnlyOnYes) {
    // A second order of the same name: both are asked about, the last wins.
    orders().addChild("order").setAttr("name", "skupiny");
    window.refillList();
    window.sortctrl->fld[0]->setCurrentIndex(1);
    window.savename->setText(btkToQString("skupiny"));

    window.Button2->click();
    EXPECT_EQ(btkDefaultMessageBoxes().shown().back().text, btkstring(OverwriteOrderText));
    EXPECT_EQ(orders().child(0).child(0).attr("colid"), btkstring("group"));
    EXPECT_EQ(orders().child(2).childCount(), 0);

    btkDefaultMessageBoxes().answer(btkID_YES);
    btkDefaultMessageBoxes().answer(btkID_YES);
    window.Button2->click();
    EXPECT_EQ(btkDefaultMessageBoxes().shown().size(), 3u);
    EXPECT_EQ(orders().childCount(), 3);
    EXPECT_EQ(orders().child(0).child(0).attr("colid"), btkstring("group"));
    ASSERT_EQ(orders().child(2).childCount(), 1);
    EXPECT_EQ(orders().child(2).child(0).attr("colid"), btkstring("author"));
    EXPECT_EQ(orders().child(2).attr("name"), btkstring("skupiny"));
}

TEST_F(CustomOrderDialog, ExecuteGivesTheComparatorAndEditOrderWritesOnlyOnOk) {
    window.runner = [](Tcustomsortfrm& w) {
        w.sortctrl->fld[0]->setCurrentIndex(1);
        w.sortctrl->order[0]->setCurrentIndex(1);
        w.sortctrl->fld[1]->setCurrentIndex(7);
        w.sortctrl->user[1]->setText(QStringLiteral("tempo"));
        w.sortctrl->datatype[1]->setCurrentIndex(1);
        return int(QDialog::Accepted);
    };
    std::unique_ptr<CustomCompare> compare = window.Execute();
    ASSERT_NE(compare, nullptr);
    ASSERT_EQ(compare->items.count(), 2);
    EXPECT_EQ(compare->items[0]->colid, 3);
    EXPECT_TRUE(compare->items[0]->revert);
    EXPECT_EQ(compare->items[1]->colid, -1);
    EXPECT_EQ(compare->items[1]->custom, btkstring("tempo"));
    EXPECT_EQ(compare->items[1]->datatype, 1);

    btkXMLNode element = parsed("<order ><item1 colid=\"title\" custom=\"\" revert=\"0\" datatype=\"0\" /></order>");
    const btkstring before = element.toString();
    window.runner = [](Tcustomsortfrm& w) {
        EXPECT_TRUE(w.sortctrl->isKeyActive(0));
        EXPECT_FALSE(w.sortctrl->isKeyActive(1));
        EXPECT_EQ(w.sortctrl->fld[0]->currentIndex(), 0);
        w.sortctrl->fld[0]->setCurrentIndex(2);
        return int(QDialog::Rejected);
    };
    EXPECT_FALSE(window.EditOrder(element));
    EXPECT_EQ(element.toString(), before);
    window.runner = [](Tcustomsortfrm& w) {
        w.sortctrl->fld[0]->setCurrentIndex(2);
        return int(QDialog::Accepted);
    };
    EXPECT_TRUE(window.EditOrder(element));
    ASSERT_EQ(element.childCount(), 1);
    EXPECT_EQ(element.child(0).attr("colid"), btkstring("group"));
}

}  // namespace
