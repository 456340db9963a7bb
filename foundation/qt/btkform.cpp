#include "foundation/qt/btkform.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>

#include "foundation/qt/btkapplication.h"

btkDialogForm::btkDialogForm(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags) {}

void btkDialogForm::done(int result) {
    bool canClose = true;
    if (!btkGuard([&] { FormCloseQuery(canClose); }) || !canClose) return;
    btkGuard([&] { FormClose(); });
    QDialog::done(result);
}

void btkDialogForm::closeEvent(QCloseEvent* event) {
    if (!isVisible()) {
        event->accept();
        return;
    }
    done(QDialog::Rejected);
    if (isVisible())
        event->ignore();
    else
        event->accept();
}

btkMainForm::btkMainForm(QWidget* parent) : QMainWindow(parent) {}

void btkMainForm::closeEvent(QCloseEvent* event) {
    bool canClose = true;
    if (!btkGuard([&] { FormCloseQuery(canClose); }) || !canClose) {
        event->ignore();
        return;
    }
    btkGuard([&] { FormClose(); });
    event->accept();
}

void SelectFirstComboItems(QWidget* widget) {
    if (!widget) return;
    auto set = [](QComboBox* combo) {
        if (combo->count() > 0) combo->setCurrentIndex(0);
    };
    if (auto* combo = qobject_cast<QComboBox*>(widget)) set(combo);
    for (QComboBox* combo : widget->findChildren<QComboBox*>()) set(combo);
}

void EnableControlTree(QWidget* widget, bool enabled) {
    if (!widget) return;
    // Direct children only: a control disabled on purpose deeper inside
    // keeps its state when the panel around it is enabled again.
    for (QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) child->setEnabled(enabled);
    widget->setEnabled(enabled);
}

QHBoxLayout* btkButtonRow(std::initializer_list<QWidget*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QWidget* button : buttons) row->addWidget(button);
    return row;
}
