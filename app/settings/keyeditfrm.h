// The titles, hints and shortcuts of a window's actions as the options keep
// them (node settings/mainwin/actions: one element per action named after
// it, with the optional attributes title, hint and shortcut), the routine
// that applies them, and the frame Tkeyeditfrm of the options dialog where
// the user gives each action its shortcut, grouped by category.
#pragma once

#include <functional>

#include <QKeySequence>
#include <QLineEdit>
#include <QWidget>

#include "foundation/btkarray.h"
#include "foundation/btkstring.h"
#include "foundation/btkxml.h"

class QListWidget;
class btkActionList;

// Applies the node to the list (btkActionList::applySettings), then makes
// every shortcut unique: a shortcut held by two actions would fire neither,
// so only the first action in list order keeps it.
void applyActionSettings(const btkXMLNode& actions, const btkActionList& list);

// One action while the frame is loaded.
struct ActionRec {
    btkstring title;  // the stored title, or the action's caption
    btkstring hint;   // the stored hint, or the action's hint
    btkstring name;   // the action's name
    btkstring category;
    QKeySequence shortcut;
};

// The actions of one category, in list order; owns them.
struct ActionGroup {
    btkstring name;
    btkObjArray<ActionRec> actions;
};

// A hot key box: takes one key with its modifiers; a key without a modifier
// or with Shift alone gets Alt added, and keys without a stored name are
// ignored. Leaving the box calls left.
class KeyEdit : public QLineEdit {
public:
    explicit KeyEdit(QWidget* parent = nullptr);
    QKeySequence value() const { return key; }
    void setValue(const QKeySequence& shortcut);
    std::function<void()> left;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QKeySequence key;
};

class Tkeyeditfrm : public QWidget {
public:
    explicit Tkeyeditfrm(QWidget* parent = nullptr);

    // Builds the groups from the list and the node (read only: a missing
    // element reads as empty) and shows the first group's first action.
    // Actions of categories beginning with "_" are left out.
    void LoadActions(const btkXMLNode& actions, const btkActionList& list);
    // Writes the shortcut of every grouped action into the element named
    // after it, created when missing; titles and hints are not written.
    void SaveActions(btkXMLNode actions);

    void groupsClick();
    void actionsClick();
    void shortcutExit();

    int groupCount() const { return groupList.count(); }
    ActionGroup* group(int i) const { return groupList[i]; }

    QListWidget* groups = nullptr;
    QListWidget* actions = nullptr;
    QLineEdit* caption = nullptr;
    QLineEdit* hint = nullptr;
    KeyEdit* shortcut = nullptr;

private:
    // Stores the hot key into the current record. A shortcut another record
    // holds is taken from it: two actions must not share one.
    void storeCurrent();

    btkObjArray<ActionGroup> groupList;
    ActionGroup* currentGroup = nullptr;
    ActionRec* currentRec = nullptr;
};
