// Form bases. Every way of closing a form (its close button, the close box,
// Esc, a window-manager close) goes through FormCloseQuery; only when that
// agrees does FormClose run and the form close. Both run inside btkGuard.
#pragma once

#include <initializer_list>

#include <QDialog>
#include <QMainWindow>
#include <QTabWidget>

#include "foundation/qt/btkqstring.h"

class QCloseEvent;

// A dialog or free-standing form. done(), accept(), reject() (Esc) and the
// close box all ask FormCloseQuery first.
class btkDialogForm : public QDialog {
public:
    explicit btkDialogForm(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());

    void done(int result) override;

protected:
    // Clears canClose to refuse the close.
    virtual void FormCloseQuery(bool& /*canClose*/) {}
    // The form agreed to close and is about to be hidden.
    virtual void FormClose() {}
    void closeEvent(QCloseEvent* event) override;
};

// The program's main form.
class btkMainForm : public QMainWindow {
public:
    explicit btkMainForm(QWidget* parent = nullptr);

protected:
    virtual void FormCloseQuery(bool& /*canClose*/) {}
    virtual void FormClose() {}
    void closeEvent(QCloseEvent* event) override;
};

// Walks the widget and every widget inside it and sets each combo box to
// its first item.
void SelectFirstComboItems(QWidget* widget);
// Enables or disables a widget's direct children, then the widget itself;
// widgets further inside keep their own setting.
void EnableControlTree(QWidget* widget, bool enabled);

// A new captioned control (button, check box, label) owned by the parent,
// named so that tests and stored settings find it; the caption is program
// text.
// A tab page named sheetName, under caption in the pager, holding one panel
// laid out by a new L (QGridLayout, QFormLayout, ...); returns the layout,
// which takes the page's rows.
template <class L> L* btkAddPanelPage(QTabWidget* pager, const char* sheetName, const char* caption) {
    auto* sheet = new QWidget;
    sheet->setObjectName(sheetName);
    auto* layout = new L(new QWidget(sheet));
    pager->addTab(sheet, btkToQString(caption));
    return layout;
}

template <class W> W* btkNamedControl(const char* name, const char* caption, QWidget* parent) {
    auto* control = new W(btkToQString(caption), parent);
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

class QHBoxLayout;
// A row of buttons standing at its right end, in the given order (OK before
// "Storno", as the dialogs place them).
QHBoxLayout* btkButtonRow(std::initializer_list<QWidget*> buttons);
