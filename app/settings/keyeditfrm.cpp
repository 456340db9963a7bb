#include "app/settings/keyeditfrm.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>

#include "foundation/qt/btkactionlist.h"
#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkqstring.h"
#include "foundation/qt/btkshortcut.h"

// ---- applying the stored settings

void applyActionSettings(const btkXMLNode& actions, const btkActionList& list) {
    list.applySettings(actions);
    for (int i = 0; i < list.count(); ++i) {
        const QKeySequence key = list.at(i)->shortcut();
        if (key.isEmpty()) continue;
        for (int j = 0; j < i; ++j)
            if (list.at(j)->shortcut() == key) {
                list.at(i)->setShortcut(QKeySequence());
                break;
            }
    }
}

// ---- hot key box

KeyEdit::KeyEdit(QWidget* parent) : QLineEdit(parent) { setReadOnly(true); }

void KeyEdit::setValue(const QKeySequence& shortcut) {
    key = shortcut;
    setText(btkToQString(btkShortCutToText(shortcut)));
}

void KeyEdit::keyPressEvent(QKeyEvent* event) {
    const int k = event->key();
    if (k == Qt::Key_Shift || k == Qt::Key_Control || k == Qt::Key_Alt || k == Qt::Key_Meta || k == Qt::Key_unknown)
        return;
    // Tab moves on as in every other box.
    if ((k == Qt::Key_Tab || k == Qt::Key_Backtab) && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return QLineEdit::keyPressEvent(event);
    Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (!(mods & (Qt::ControlModifier | Qt::AltModifier))) mods |= Qt::AltModifier;
    const QKeySequence typed(QKeyCombination(mods, static_cast<Qt::Key>(k)));
    if (btkShortCutToText(typed).empty()) return;
    setValue(typed);
}

void KeyEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (left) btkGuard(left);
}

// ---- the frame

Tkeyeditfrm::Tkeyeditfrm(QWidget* parent) : QWidget(parent) {
    setObjectName("mainwinkeys");
    groups = new QListWidget(this);
    groups->setObjectName("groups");
    actions = new QListWidget(this);
    actions->setObjectName("actions");
    caption = new QLineEdit(this);
    caption->setObjectName("caption");
    caption->setReadOnly(true);
    hint = new QLineEdit(this);
    hint->setObjectName("hint");
    hint->setReadOnly(true);
    shortcut = new KeyEdit(this);
    shortcut->setObjectName("shortcut");

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(btkToQString("Skupiny"), this), 0, 0);
    grid->addWidget(new QLabel(btkToQString("Akce"), this), 0, 1);
    grid->addWidget(groups, 1, 0);
    grid->addWidget(actions, 1, 1);
    const char* labels[] = {"Popisek", "Bublinová nápověda", "Horká klávesa"};
    QWidget* edits[] = {caption, hint, shortcut};
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(new QLabel(btkToQString(labels[i]), this), 2 + 2 * i, 0, 1, 2);
        grid->addWidget(edits[i], 3 + 2 * i, 0, 1, 2);
    }

    QObject::connect(groups, &QListWidget::itemClicked, this, btkGuarded([this](QListWidgetItem*) { groupsClick(); }));
    QObject::connect(actions, &QListWidget::itemClicked, this,
                     btkGuarded([this](QListWidgetItem*) { actionsClick(); }));
    shortcut->left = [this] { shortcutExit(); };
}

void Tkeyeditfrm::LoadActions(const btkXMLNode& node, const btkActionList& list) {
    currentRec = nullptr;
    currentGroup = nullptr;
    groupList.clear();
    for (int i = 0; i < list.count(); ++i) {
        const QAction* action = list.at(i);
        const btkstring category = list.category(i);
        if (category.c_str()[0] == '_') continue;
        const btkXMLNode stored = node.childByName(list.name(i));
        auto* rec = new ActionRec;
        rec->name = list.name(i);
        rec->category = category;
        rec->title = stored.hasAttr("title") ? stored.attr("title") : btkFromQString(action->text());
        rec->hint = stored.hasAttr("hint") ? stored.attr("hint") : btkActionList::hint(action);
        rec->shortcut = stored.hasAttr("shortcut") ? btkTextToShortCut(stored.attr("shortcut")) : action->shortcut();
        ActionGroup* target = nullptr;
        for (int g = 0; g < groupList.count() && !target; ++g)
            if (groupList[g]->name == category) target = groupList[g];
        if (!target) {
            target = new ActionGroup;
            target->name = category;
            groupList.add(target);
        }
        target->actions.add(rec);
    }
    {
        const QSignalBlocker blocker(groups);
        groups->clear();
        for (int g = 0; g < groupList.count(); ++g) groups->addItem(btkToQString(groupList[g]->name));
        if (groups->count() > 0) groups->setCurrentRow(0);
    }
    groupsClick();
}

void Tkeyeditfrm::SaveActions(btkXMLNode node) {
    storeCurrent();
    for (int g = 0; g < groupList.count(); ++g) {
        const ActionGroup* group = groupList[g];
        for (int i = 0; i < group->actions.count(); ++i) {
            const ActionRec* rec = group->actions[i];
            node.getChild(rec->name).setAttr("shortcut", btkShortCutToText(rec->shortcut));
        }
    }
}

void Tkeyeditfrm::storeCurrent() {
    if (!currentRec) return;
    const QKeySequence key = shortcut->value();
    if (key == currentRec->shortcut) return;
    currentRec->shortcut = key;
    if (key.isEmpty()) return;
    for (int g = 0; g < groupList.count(); ++g)
        for (int i = 0; i < groupList[g]->actions.count(); ++i) {
            ActionRec* other = groupList[g]->actions[i];
            if (other != currentRec && other->shortcut == key) other->shortcut = QKeySequence();
        }
}

void Tkeyeditfrm::groupsClick() {
    storeCurrent();
    currentRec = nullptr;
    const QSignalBlocker blocker(actions);
    actions->clear();
    const int row = groups->currentRow();
    if (row >= 0 && row < groupList.count()) currentGroup = groupList[row];
    if (!currentGroup) return;
    for (int i = 0; i < currentGroup->actions.count(); ++i)
        actions->addItem(btkToQString(currentGroup->actions[i]->title));
    if (actions->count() > 0) actions->setCurrentRow(0);
    actionsClick();
}

void Tkeyeditfrm::actionsClick() {
    storeCurrent();
    if (!currentGroup) return;
    const int row = actions->currentRow();
    if (row < 0 || row >= currentGroup->actions.count()) return;
    currentRec = currentGroup->actions[row];
    caption->setText(btkToQString(currentRec->title));
    hint->setText(btkToQString(currentRec->hint));
    shortcut->setValue(currentRec->shortcut);
}

void Tkeyeditfrm::shortcutExit() { storeCurrent(); }
