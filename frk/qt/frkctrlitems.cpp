#include "frk/qt/frkctrlitems.h"

#include <cstring>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkqstring.h"
#include "frk/frkbrowseimpl.h"

// ---- any control

void frkCtrlItem::preferredSize(int& w, int& h) {
    const bool shown = isVisible();
    w = shown ? 150 : 0;
    h = shown ? 21 : 0;
}

void frkCtrlItem::setBounds(int x, int y, int w, int h) { control->setGeometry(x, y, w, h); }

void frkCtrlItem::setEnabled(bool enabled) { control->setEnabled(enabled); }

void frkCtrlItem::setVisible(bool visible) {
    control->setVisible(visible);
    impl.requestLayout();
}

bool frkCtrlItem::isVisible() { return !control->isHidden(); }

void frkCtrlItem::changed() { impl.notifyChanged(frkObjChangedTriggerEvent(key, 0)); }

// ---- static text

frkStaticTextItem::frkStaticTextItem(frkDialog* dialog, frkKey key, frkBrowseImpl& impl, QWidget* form,
                                     frkDataSource* text)
    : frkCtrlItem(dialog, key, impl, new QLabel(form)), label(static_cast<QLabel*>(control)), text(text) {}

void frkStaticTextItem::load() { label->setText(btkToQString(text->getText())); }

// ---- edit

frkEditItem::frkEditItem(frkDialog* dialog, frkKey key, frkBrowseImpl& impl, QWidget* form, frkDataSource* value,
                         bool password)
    : frkCtrlItem(dialog, key, impl, new QLineEdit(form)), edit(static_cast<QLineEdit*>(control)), value(value) {
    if (password) edit->setEchoMode(QLineEdit::Password);
    QObject::connect(edit, &QLineEdit::textChanged, edit, btkGuarded([this](const QString&) { changed(); }));
}

void frkEditItem::store(frkDataSource* source, int mode) {
    if (mode == 0) source->setText(btkFromQString(edit->text()));
}

void frkEditItem::fetch(frkDataSource* source, int mode) {
    if (mode != 0) return;
    const QSignalBlocker blocker(edit);  // loading is not a change by the user
    edit->setText(btkToQString(source->getText()));
}

// ---- combo box

frkComboItem::frkComboItem(frkDialog* dialog, frkKey key, frkBrowseImpl& impl, QWidget* form, frkDataSource* list,
                           frkDataSource* value, char separator)
    : frkCtrlItem(dialog, key, impl, new QComboBox(form)),
      combo(static_cast<QComboBox*>(control)),
      list(list),
      value(value),
      byValue(separator != 0),
      separator(separator) {
    combo->setEditable(false);
    QObject::connect(combo, &QComboBox::currentIndexChanged, combo, btkGuarded([this](int) { changed(); }));
}

void frkComboItem::load() {
    fetch(list, 2);
    fetch(value, byValue ? 1 : 0);
}

void frkComboItem::fetch(frkDataSource* source, int mode) {
    const QSignalBlocker blocker(combo);  // filling is not a choice
    if (mode == 2) {
        btkStrings entries;
        source->getList(entries);
        values.clear();
        labels.clear();
        for (const btkstring& entry : entries) {
            const char* cut = separator ? std::strchr(entry.c_str(), separator) : nullptr;
            if (!cut) {
                values.add(entry);
                labels.add(entry);
                continue;
            }
            const int at = static_cast<int>(cut - entry.c_str());
            values.add(entry.substr(0, at));
            labels.add(entry.substr(at + 1, 4096));
        }
        combo->clear();
        for (const btkstring& label : labels) combo->addItem(btkToQString(label));
    } else if (mode == 0) {
        const int index = source->getInt();
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    } else if (mode == 1) {
        combo->setCurrentIndex(values.find(source->getText()));
    }
}

void frkComboItem::store(frkDataSource* source, int mode) {
    const int index = combo->currentIndex();
    if (mode == 0) source->setInt(index);
    if (mode == 1 && index >= 0 && index < values.count()) source->setText(values[index]);
}

// ---- check box

frkCheckItem::frkCheckItem(frkDialog* dialog, frkKey key, frkBrowseImpl& impl, QWidget* form, frkDataSource* caption,
                           frkDataSource* state)
    : frkCtrlItem(dialog, key, impl, new QCheckBox(form)),
      box(static_cast<QCheckBox*>(control)),
      caption(caption),
      state(state) {}

void frkCheckItem::save() { state->setInt(box->isChecked() ? 1 : 0); }

void frkCheckItem::load() {
    if (caption) box->setText(btkToQString(caption->getText()));
    box->setChecked(state->getInt() != 0);
}

// ---- button

frkButtonItem::frkButtonItem(frkDialog* dialog, frkKey key, frkBrowseImpl& impl, QWidget* form, frkDataSource* caption,
                             const btkCntVec<frkEvent*>& events)
    : frkCtrlItem(dialog, key, impl, new QPushButton(form)),
      button(static_cast<QPushButton*>(control)),
      caption(caption),
      events(events) {
    button->setAutoDefault(false);  // Enter belongs to the dialog's default command
    QObject::connect(button, &QPushButton::clicked, button, btkGuarded([this](bool) { frkFire(this->events); }));
}

void frkButtonItem::load() { button->setText(btkToQString(caption->getText())); }
