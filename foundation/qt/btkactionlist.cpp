#include "foundation/qt/btkactionlist.h"

#include <cstring>

#include "foundation/qt/btkqstring.h"

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
