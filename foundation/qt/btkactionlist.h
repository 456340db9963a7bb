// A window's named action list: every command is a QAction found by its
// component name (a_quit, a_about, ...), so titles, hints and shortcuts
// stored in the options can be applied by name.
#pragma once

#include <vector>

#include <QAction>

#include "foundation/btkstring.h"
#include "foundation/btkxml.h"

class btkActionList {
public:
    // A new action owned by the parent, with its name, caption and category.
    QAction* add(QObject* parent, const char* name, const char* caption, const char* category);
    // The action of that name, null when there is none.
    QAction* find(const char* name) const;
    int count() const { return static_cast<int>(items.size()); }
    QAction* at(int i) const { return items.at(i).action; }
    btkstring name(int i) const { return items.at(i).name; }
    btkstring category(int i) const { return items.at(i).category; }

    // Applies the stored settings: for each action, the child of the node
    // named after it sets the shortcut from its attribute "shortcut", the
    // caption from "title" and the hint from "hint"; an absent child or
    // attribute leaves that property alone.
    void applySettings(const btkXMLNode& actions) const;

    // The action's hint (status tip), as program text.
    static btkstring hint(const QAction* action);

private:
    struct Item {
        btkstring name;
        btkstring category;
        QAction* action;
    };
    std::vector<Item> items;
};
