#include "frk/qt/vclwizard.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>

#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkqstring.h"

namespace {

QFrame* horizontalLine(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setObjectName("Shape1");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setFixedHeight(3);
    return line;
}

QLabel* headLabel(QWidget* parent, const char* name, int height, int pixelSize) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFixedHeight(height);
    if (pixelSize > 0) {
        QFont font("Arial");
        font.setPixelSize(pixelSize);
        label->setFont(font);
    }
    return label;
}

}  // namespace

Tvclwizardheadfrm::Tvclwizardheadfrm(QWidget* parent) : QFrame(parent) {
    setObjectName("head");
    setFixedHeight(67);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(headLabel(this, "Label1", 13, 0));
    title = headLabel(this, "title", 32, 27);
    title->setAlignment(Qt::AlignCenter);
    column->addWidget(title);
    subtitle = headLabel(this, "subtitle", 16, 13);
    column->addWidget(subtitle);
    column->addWidget(horizontalLine(this));
}

Tvclwizardfootfrm::Tvclwizardfootfrm(QWidget* parent) : QFrame(parent) {
    setObjectName("foot");
    setFixedHeight(54);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(horizontalLine(this));
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 10, 13, 0);
    row->setSpacing(13);
    row->addStretch(1);
    column->addLayout(row);
    column->addStretch(1);
    auto makeButton = [&](const char* name, const char* caption) {
        auto* button = new QPushButton(btkToQString(caption), this);
        button->setObjectName(name);
        button->setFixedSize(75, 25);
        button->setAutoDefault(false);
        row->addWidget(button);
        return button;
    };
    btprev = makeButton("btprev", "Zpět");
    btnext = makeButton("btnext", "Další");
    btfinish = makeButton("btfinish", "Ukončit");
    btcancel = makeButton("btcancel", "Storno");
    btprev->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    btnext->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    btfinish->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    btcancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    auto call = [this](void (vclWizard::*step)()) {
        return btkGuarded([this, step](bool) {
            if (wizard) (wizard->*step)();
        });
    };
    QObject::connect(btprev, &QPushButton::clicked, this, call(&vclWizard::prev));
    QObject::connect(btnext, &QPushButton::clicked, this, call(&vclWizard::next));
    QObject::connect(btfinish, &QPushButton::clicked, this, call(&vclWizard::finish));
    QObject::connect(btcancel, &QPushButton::clicked, this, btkGuarded([this](bool) {
                         if (wizard) wizard->cancel();
                         // A cancel button ends the modal form after its handler.
                         if (auto* form = qobject_cast<QDialog*>(window())) form->reject();
                     }));
}

// ---- controller

void vclWizard::init(QTabWidget* pageControl, Tvclwizardheadfrm* header, Tvclwizardfootfrm* footer) {
    pager = pageControl;
    head = header;
    foot = footer;
    head->wizard = this;
    foot->wizard = this;
    QWidget* host = pager->parentWidget();
    auto* layout = host ? qobject_cast<QBoxLayout*>(host->layout()) : nullptr;
    int at = layout ? layout->indexOf(pager) : -1;
    // Widgets leave the tab widget as they are moved: collect them first.
    const int tabs = pager->count();
    for (int i = 0; i < tabs; ++i) {
        QWidget* sheet = pager->widget(i);
        QWidget* panel = sheet ? sheet->findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
        if (!panel) continue;
        pages.add(new Page{panel, btkFromQString(pager->tabText(i))});
    }
    for (Page* page : pages) {
        page->panel->setParent(host);
        if (layout && at >= 0) layout->insertWidget(++at, page->panel, 1);
        page->panel->hide();
    }
    current = -1;
    pager->hide();
}

void vclWizard::showPage(int index) {
    if (current >= 0 && current < pageCount()) pages[current]->panel->hide();
    current = index;
    if (current >= 0 && current < pageCount()) pages[current]->panel->show();
    if (foot) {
        foot->btprev->setEnabled(canPrev());
        foot->btnext->setEnabled(canNext());
        foot->btfinish->setEnabled(canFinish());
        foot->btcancel->setEnabled(canCancel());
    }
    if (head) {
        head->title->setText(current >= 0 && current < pageCount() ? btkToQString(pages[current]->title) : QString());
        head->subtitle->setText(btkToQString(pageSubtitle()));
    }
}

void vclWizard::setPageVisible(int index, bool visible) {
    if (index >= 0 && index < pageCount()) pages[index]->panel->setVisible(visible);
}

void vclWizardForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (foot && foot->btcancel->isEnabled()) foot->btcancel->click();
        return;
    }
    btkDialogForm::keyPressEvent(event);
}
