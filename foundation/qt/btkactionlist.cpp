#include "foundation/qt/btkactionlist.h"

#include <cstring>

#include "foundation/qt/btkqstring.h"
#include "foundation/qt/btkshortcut.h"

QAction* btkActionList::add(QObject* parent, const char* name, const char* caption, const char* category) {
    auto* action = new QAction(btkToQString(caption), parent);
    action->setObjectName(QString::fromLatin1(name));
    items.push_back(Item{name, category, action});
    return action;
}

QAction* btkActionList::find(const char* name) const {
    for (const Item& item : items)
        if (std::strcmp(item.name.c_str(), name) == 0) return item.action;
    return nullptr;
}

btkstring btkActionList::hint(const QAction* action) { return btkFromQString(action->statusTip()); }

void btkActionList::applySettings(const btkXMLNode& actions) const {
    for (const Item& item : items) {
        const int i = actions.indexOfChild(item.name);
        if (i < 0) continue;
        const btkXMLNode node = actions.child(i);
        if (node.hasAttr("shortcut")) item.action->setShortcut(btkTextToShortCut(node.attr("shortcut")));
        if (node.hasAttr("title")) item.action->setText(btkToQString(node.attr("title")));
        if (node.hasAttr("hint")) {
            item.action->setStatusTip(btkToQString(node.attr("hint")));
            item.action->setToolTip(btkToQString(node.attr("hint")));
        }
    }
}
