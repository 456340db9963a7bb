// The widget-free half of the dialog builder: data source conversions, the
// format source, command keys and event chains, table measuring and the
// root layout, driven through stand-in items that record their bounds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frk/frkbrowseimpl.h"

namespace {

// A dialog that records what its events asked of it.
class RecordingDialog final : public frkDialog {
public:
    RecordingDialog() : impl(*this) {
        impl.layoutDone = [this](const std::vector<frkRect>& b, int w, int h) {
            buttons = b;
            width = w;
            height = h;
        };
    }
    frkBrowseImplBase& implBase() override { return impl; }
    void save() override { log += "save;"; }
    void reload() override { log += "reload;"; }
    void close(int code) override { log += "close " + std::to_string(code) + ";"; }
    void onCommand(int id) override { log += "command " + std::to_string(id) + ";"; }

    frkBrowseImpl impl;
    std::string log;
    std::vector<frkRect> buttons;
    int width = 0, height = 0;
};

// A control of 150 x 21 while visible, as the real ones measure.
class StandIn final : public frkVCLItem {
public:
    explicit StandIn(frkDialog* dialog, bool visible = true) : frkVCLItem(dialog, frkKey{}), visible(visible) {}
    void preferredSize(int& w, int& h) override {
        w = visible ? 150 : 0;
        h = visible ? 21 : 0;
    }
    void setBounds(int x, int y, int w, int h) override { bounds = {x, y, w, h}; }
    bool isVisible() override { return visible; }
    bool visible;
    frkRect bounds{-1, -1, -1, -1};
};

std::string text(const frkRect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.width) + "x" +
           std::to_string(r.height);
}

std::string list(frkDataSource& source) {
    btkStrings entries;
    source.getList(entries);
    std::string out;
    for (const btkstring& e : entries) out += std::string(e.c_str()) + "|";
    return out;
}

TEST(frkSources, Conversions) {
    btkstring textVar = "a;;b;";
    int intVar = 0;
    bool boolVar = false;
    frkStringVarSource textSource(nullptr, textVar);
    frkIntVarSource intSource(nullptr, intVar);
    frkBoolVarSource boolSource(nullptr, boolVar);
    frkMemoryDataSource memory(nullptr);

    EXPECT_EQ(list(textSource), "a|b|");  // empty pieces dropped
    btkStrings ab;
    ab.add("a");
    ab.add("b");
    textSource.setList(ab);
    EXPECT_EQ(textVar, btkstring("a;b;"));
    textSource.setDouble(2.5);
    EXPECT_EQ(textVar, btkstring("2.5"));
    EXPECT_EQ(textSource.getInt(), 2);

    const struct {
        double value;
        int stored;
    } rounding[] = {{2.5, 3}, {-1.7, -1}, {0.49, 0}};
    for (const auto& r : rounding) {
        intSource.setDouble(r.value);
        EXPECT_EQ(intVar, r.stored) << r.value;
    }
    intSource.setText(" 42x");
    EXPECT_EQ(intVar, 42);
    EXPECT_EQ(list(intSource), "");

    boolSource.setText("2");
    EXPECT_TRUE(boolVar);
    EXPECT_EQ(boolSource.getText(), btkstring("1"));

    memory.setDouble(2.5);
    EXPECT_EQ(memory.getInt(), 3);
    EXPECT_EQ(memory.getText(), btkstring("2.5"));
    memory.setInt(7);
    EXPECT_EQ(memory.getText(), btkstring("7"));
    EXPECT_EQ(memory.getDouble(), 7.0);
    memory.setText("x;y");
    EXPECT_EQ(list(memory), "x|y|");
    memory.setList(ab);
    EXPECT_EQ(memory.getText(), btkstring("a;b;"));
    btkXMLNode node;
    node.setName("n");
    memory.getXML(node);  // a list gives no node
    EXPECT_EQ(node.name(), btkstring(""));
}

TEST(frkSources, FormatPatterns) {
    int five = 5, ten = 10;
    btkstring name = "Ann";
    const struct {
        const char* pattern;
        int arguments;
        const char* text;
    } rows[] = {
        {"%d/%d", 2, "5/10"},     {"%d/%d", 1, "5/"},    {"100%%", 0, "100%"},
        {"%s %x%d", 2, "Ann 10"}, {"[%s|%f]", 0, "[|]"}, {"end %", 0, "end "},
    };
    for (const auto& r : rows) {
        frkIntVarSource a(nullptr, five), b(nullptr, ten);
        frkStringVarSource s(nullptr, name);
        btkCntVec<frkDataSource*> arguments;
        const bool textFirst = r.pattern[1] == 's' || r.pattern[2] == 's';
        if (r.arguments > 0) arguments.add(textFirst ? static_cast<frkDataSource*>(&s) : &a);
        if (r.arguments > 1) arguments.add(&b);
        frkStringFormatSource format(nullptr, arguments, r.pattern);
        EXPECT_EQ(format.getText(), btkstring(r.text)) << r.pattern;
        format.setText("ignored");
        EXPECT_EQ(five, 5);
    }
}

TEST(frkCommands, KeysAndEventChains) {
    RecordingDialog dialog;
    frkBrowseImpl& d = dialog.impl;
    d.addStandardOkCommand("OK");
    d.addStandardCancelCommand("Storno");
    d.saveEvent();
    d.closeWith(1);
    d.closeWith(2);
    d.command("Both", "");  // no number: never default or cancel
    d.beginScope();
    d.pendingNumber = 1;
    d.command("Other scope", "std.yes");
    d.endScope();

    ASSERT_EQ(d.commands.count(), 4);
    const bool marks[][2] = {{true, false}, {false, true}, {false, false}, {false, false}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(d.isDefault(*d.commands[i]), marks[i][0]) << i;
        EXPECT_EQ(d.isCancel(*d.commands[i]), marks[i][1]) << i;
    }
    const char* logs[] = {"save;close -1;", "close 0;", "save;close 1;close 2;", ""};
    for (int i = 0; i < 4; ++i) {
        dialog.log.clear();
        frkFire(d.commands[i]->events);
        EXPECT_EQ(dialog.log, logs[i]) << i;
    }
    // The pending state went with each command.
    EXPECT_EQ(d.pendingNumber, -1);
    EXPECT_TRUE(d.pendingEvents.empty());
}

TEST(frkLayout, TablesStretchRowsAndColumnsToTheirBox) {
    RecordingDialog dialog;
    frkBrowseImpl& d = dialog.impl;
    std::vector<StandIn*> items;
    auto add = [&](bool visible) {
        auto* item = new StandIn(&dialog, visible);
        d.adopt(item);
        d.placeItem(item, false);
        items.push_back(item);
    };
    d.beginTable();
    add(true), add(true);
    d.newRow();
    add(true), add(false);  // hidden: no size, bounds all the same
    d.newRow();             // an empty last row stays, 0 high
    d.endTable();
    d.beginTable();  // nothing visible: measures 0 and places nothing
    add(false);
    d.endTable();
    d.addStandardOkCommand("OK");
    d.unlock();

    const char* expected[] = {"15,7 195x21", "220,7 195x21", "15,32 195x21", "220,32 195x21", "-1,-1 -1x-1"};
    for (size_t i = 0; i < items.size(); ++i) EXPECT_EQ(text(items[i]->bounds), expected[i]) << i;
    auto* table = static_cast<frkTable*>(d.rootItems[0]);
    EXPECT_EQ(table->rows.count(), 3);
    EXPECT_EQ(table->rowHeight(*table->rows[2]), 0);
    // Tables of 50 and 0 px, each followed by 4 px; one button centred.
    ASSERT_EQ(dialog.buttons.size(), 1u);
    EXPECT_EQ(text(dialog.buttons[0]), "150,68 130x25");
    EXPECT_EQ(dialog.height, 98);
}

TEST(frkLayout, RootLinesAndCommandRows) {
    for (int commands : {1, 2, 4}) {
        RecordingDialog dialog;
        frkBrowseImpl& d = dialog.impl;
        std::vector<StandIn*> items;
        for (bool visible : {true, true, true, false, true, true}) {
            auto* item = new StandIn(&dialog, visible);
            d.adopt(item);
            d.placeItem(item, items.size() % 2 == 0);
            items.push_back(item);
        }
        for (int i = 0; i < commands; ++i) d.command("C", "");
        d.unlock();
        // The hidden control does not advance: the next pair shares its line.
        const char* lines[] = {"10,5", "220,5", "10,30", "220,30", "10,30", "220,30"};
        for (size_t i = 0; i < items.size(); ++i) EXPECT_EQ(text(items[i]->bounds), std::string(lines[i]) + " 200x21");
        std::string buttons;
        for (const frkRect& r : dialog.buttons) buttons += text(r) + ";";
        const char* expected = commands == 1   ? "150,60 130x25;"
                               : commands == 2 ? "80,60 130x25;220,60 130x25;"
                                               : "10,60 130x25;150,60 130x25;290,60 130x25;10,90 130x25;";
        EXPECT_EQ(buttons, expected) << commands;
        EXPECT_EQ(dialog.width, 430);
        EXPECT_EQ(dialog.height, commands == 4 ? 120 : 90);
    }
}

// Matches the change notices of the item numbered 3.
class NumberThree final : public frkTrigger {
public:
    using frkTrigger::frkTrigger;
    bool matches(const frkTriggerEvent& notice) override {
        auto* changed = dynamic_cast<const frkObjChangedTriggerEvent*>(&notice);
        return changed && changed->key.number == 3;
    }
};

class CountingState final : public frkCondState {
public:
    using frkCondState::frkCondState;
    void applyTo(frkVCLItem*) override { ++applied; }
    int applied = 0;
};

TEST(frkNotices, EachChangeLaysOutOnceAndReachesItsStates) {
    RecordingDialog dialog;
    frkBrowseImpl& d = dialog.impl;
    int layouts = 0;
    d.layoutDone = [&](const std::vector<frkRect>&, int, int) { ++layouts; };
    auto* state = new CountingState(new NumberThree(d));
    d.condStates.add(state);
    d.openStates.add(state);
    for (int i = 0; i < 2; ++i) {
        auto* item = new StandIn(&dialog);
        d.adopt(item);
        d.placeItem(item, false);
    }
    d.openStates.clear();
    const frkObjChangedTriggerEvent three(frkKey{0, 3}, 0), four(frkKey{0, 4}, 0);
    d.notifyChanged(three);  // still being built: no layout
    EXPECT_EQ(layouts, 0);
    d.unlock();
    d.notifyChanged(four);
    d.notifyChanged(three);
    EXPECT_EQ(layouts, 3);
    EXPECT_EQ(state->applied, 4);  // both items, once while building and once after
}

}  // namespace
