// The items of a run-time dialog that wrap one control each: static text,
// edit, combo box, check box and button. Every control is made on the
// dialog's form (the form owns it) and takes 150 x 21 in a table while it
// is not hidden.
#pragma once

#include "foundation/btkstrings.h"
#include "frk/frkitem.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class frkBrowseImpl;
class frkTrigger;

class frkCtrlItem : public frkVCLItem {
public:
    frkCtrlItem(frkDialog* dialog, frkKey key, frkBrowseImpl& impl, QWidget* control)
        : frkVCLItem(dialog, key), impl(impl), control(control) {}
    void preferredSize(int& w, int& h) override;
    void setBounds(int x, int y, int w, int h) override;
    void setEnabled(bool enabled) override;
    // Lays the dialog out again.
    void setVisible(bool visible) override;
    // Not hidden (the form itself may not be shown yet).
    bool isVisible() override;

    frkBrowseImpl& impl;
    QWidget* control;

protected:
    // Sends the change notice of this item.
    void changed();
};

class frkStaticTextItem final : public frkCtrlItem {
public:
    frkStaticTextItem(frkDialog* dialog, frkKey key, frkBrowseImpl& impl, QWidget* form, frkDataSource* text);
    void load() override;
    QLabel* label;

private:
    frkDataSource* text;
};

// Mode 0 of store and fetch is the text; other modes do nothing.
class frkEditItem final : public frkCtrlItem {
public:
    frkEditItem(frkDialog* dialog, frkKey key, frkBrowseImpl& impl, QWidget* form, frkDataSource* value, bool password);
    void save() override { store(value, 0); }
    void load() override { fetch(value, 0); }
    void store(frkDataSource* source, int mode) override;
    void fetch(frkDataSource* source, int mode) override;
    QLineEdit* edit;

private:
    frkDataSource* value;
};

// A drop-down list (never editable: its values may be program text such
// as a condition). Fetch mode 2 takes the entries from a list source,
// mode 0 selects by index, mode 1 by value; store mode 0 writes the index
// (-1 for none), mode 1 the chosen value (nothing when none is chosen).
class frkComboItem final : public frkCtrlItem {
public:
    frkComboItem(frkDialog* dialog, frkKey key, frkBrowseImpl& impl, QWidget* form, frkDataSource* list,
                 frkDataSource* value, char separator);
    void save() override { store(value, byValue ? 1 : 0); }
    void load() override;
    void store(frkDataSource* source, int mode) override;
    void fetch(frkDataSource* source, int mode) override;
    QComboBox* combo;
    btkStrings values;
    btkStrings labels;

private:
    frkDataSource* list;
    frkDataSource* value;
    bool byValue;
    char separator;
};

// The state source reads as an integer (not 0 = ticked).
class frkCheckItem final : public frkCtrlItem {
public:
    frkCheckItem(frkDialog* dialog, frkKey key, frkBrowseImpl& impl, QWidget* form, frkDataSource* caption,
                 frkDataSource* state);
    void save() override;
    void load() override;
    QCheckBox* box;

private:
    frkDataSource* caption;  // null at the root, where a label shows it
    frkDataSource* state;
};

// Fires the events that were pending when it was made; stays open.
class frkButtonItem final : public frkCtrlItem {
public:
    frkButtonItem(frkDialog* dialog, frkKey key, frkBrowseImpl& impl, QWidget* form, frkDataSource* caption,
                  const btkCntVec<frkEvent*>& events);
    void load() override;
    QPushButton* button;

private:
    frkDataSource* caption;
    btkCntVec<frkEvent*> events;
};
