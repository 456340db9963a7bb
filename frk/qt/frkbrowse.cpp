#include "frk/qt/frkbrowse.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "foundation/qt/btkapplication.h"
#include "foundation/qt/btkform.h"
#include "foundation/qt/btkqstring.h"
#include "frk/qt/frkctrlitems.h"

std::function<void(frkBrowse&)> frkBrowse::runner;

// The empty form of a run-time dialog. Esc clicks the button marked
// Cancel; without one it closes the form like the close box (result 0).
class frkForm final : public btkDialogForm {
public:
    QPushButton* cancelButton = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && cancelButton) {
            cancelButton->click();
            return;
        }
        btkDialogForm::keyPressEvent(event);
    }
};

frkBrowse::frkBrowse() : dialogForm(new frkForm), d(std::make_unique<frkBrowseImpl>(*this)) {
    dialogForm->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    d->layoutDone = [this](const std::vector<frkRect>& bounds, int width, int height) {
        applyLayout(bounds, width, height);
    };
}

frkBrowse::~frkBrowse() {
    // The form takes its controls with it; nothing they signal on the way
    // may reach the items, which never touch them again.
    for (QWidget* control : dialogForm->findChildren<QWidget*>()) control->blockSignals(true);
    delete dialogForm;
    d.reset();
}

QDialog* frkBrowse::form() const { return dialogForm; }

// ---- builder chain

frkBrowse& frkBrowse::title(const btkstring& text) {
    dialogForm->setWindowTitle(btkToQString(text));
    return *this;
}

frkBrowse& frkBrowse::format(const btkstring& pattern) {
    d->format(pattern);
    return *this;
}

frkBrowse& frkBrowse::password() {
    d->password = true;
    return *this;
}

frkBrowse& frkBrowse::valueSeparator(char separator) {
    d->valueSeparator = separator;
    return *this;
}

frkBrowse& frkBrowse::key(int number) {
    d->pendingNumber = number;
    return *this;
}

frkBrowse& frkBrowse::beginScope() {
    d->beginScope();
    return *this;
}

frkBrowse& frkBrowse::endScope() {
    d->endScope();
    return *this;
}

frkBrowse& frkBrowse::defaultCommand(int number) {
    d->defaultCommand(number);
    return *this;
}

frkBrowse& frkBrowse::cancelCommand(int number) {
    d->cancelCommand(number);
    return *this;
}

frkBrowse& frkBrowse::saveEvent() {
    d->saveEvent();
    return *this;
}

frkBrowse& frkBrowse::closeWith(int code) {
    d->closeWith(code);
    return *this;
}

frkBrowse& frkBrowse::staticText() {
    frkDataSource* text = d->popSource();
    auto* item = new frkStaticTextItem(this, d->pendingKey(), *d, dialogForm, text);
    d->adopt(item);
    d->placeItem(item, true);
    return *this;
}

frkBrowse& frkBrowse::edit() {
    frkDataSource* value = d->popSource();
    auto* item = new frkEditItem(this, d->pendingKey(), *d, dialogForm, value, d->password);
    d->adopt(item);
    d->placeItem(item, false);
    d->resetPending();
    return *this;
}

frkBrowse& frkBrowse::combo() {
    frkDataSource* list = d->popSource();
    frkDataSource* value = d->popSource();
    auto* item = new frkComboItem(this, d->pendingKey(), *d, dialogForm, list, value, d->valueSeparator);
    d->adopt(item);
    d->placeItem(item, false);
    d->resetPending();
    return *this;
}

frkBrowse& frkBrowse::check() {
    frkDataSource* caption = d->popSource();
    frkDataSource* state = d->popSource();
    if (d->currentTable) {
        auto* item = new frkCheckItem(this, d->pendingKey(), *d, dialogForm, caption, state);
        d->adopt(item);
        d->placeItem(item, false);
    } else {
        // At the root the caption stands in the label column.
        auto* label = new frkStaticTextItem(this, frkKey{}, *d, dialogForm, caption);
        d->adopt(label);
        d->placeItem(label, true);
        auto* item = new frkCheckItem(this, d->pendingKey(), *d, dialogForm, nullptr, state);
        d->adopt(item);
        d->placeItem(item, false);
    }
    d->resetPending();
    return *this;
}

frkBrowse& frkBrowse::button() {
    frkDataSource* caption = d->popSource();
    auto* item = new frkButtonItem(this, d->pendingKey(), *d, dialogForm, caption, d->pendingEvents);
    d->adopt(item);
    d->placeItem(item, false);
    d->resetPending();
    return *this;
}

frkBrowse& frkBrowse::beginTable() {
    d->beginTable();
    return *this;
}

frkBrowse& frkBrowse::newRow() {
    d->newRow();
    return *this;
}

frkBrowse& frkBrowse::endTable() {
    d->endTable();
    return *this;
}

frkBrowse& frkBrowse::command(const btkstring& caption, const btkstring& identifier) {
    d->command(caption, identifier);
    return *this;
}

frkBrowse& frkBrowse::addStandardOkCommand(const btkstring& caption) {
    d->addStandardOkCommand(caption);
    return *this;
}

frkBrowse& frkBrowse::addStandardCancelCommand(const btkstring& caption) {
    d->addStandardCancelCommand(caption);
    return *this;
}

// ---- running

void frkBrowse::buildButtons() {
    if (d->commands.empty()) {
        d->addStandardOkCommand("OK");
        d->addStandardCancelCommand("Storno");
    }
    for (frkAction* action : d->commands) {
        auto* button = new QPushButton(dialogForm);
        const btkstring& id = action->identifier;
        QStyle::StandardPixmap glyph = QStyle::SP_CustomBase;
        if (id == "std.ok") glyph = QStyle::SP_DialogOkButton;
        if (id == "std.cancel") glyph = QStyle::SP_DialogCancelButton;
        if (id == "std.yes") glyph = QStyle::SP_DialogYesButton;
        if (id == "std.no") glyph = QStyle::SP_DialogNoButton;
        if (glyph != QStyle::SP_CustomBase) button->setIcon(dialogForm->style()->standardIcon(glyph));
        if (!id.empty()) button->setObjectName(btkToQString(id));
        button->setText(btkToQString(action->caption));
        button->setAutoDefault(false);
        if (d->isDefault(*action)) button->setDefault(true);
        if (d->isCancel(*action)) dialogForm->cancelButton = button;
        QObject::connect(button, &QPushButton::clicked, button,
                         btkGuarded([action](bool) { frkFire(action->events); }));
        buttons.push_back(button);
    }
    d->unlock();
}

void frkBrowse::applyLayout(const std::vector<frkRect>& bounds, int width, int height) {
    for (size_t i = 0; i < bounds.size() && i < buttons.size(); ++i)
        buttons[i]->setGeometry(bounds[i].left, bounds[i].top, bounds[i].width, bounds[i].height);
    dialogForm->setFixedSize(width, height);
}

int frkBrowse::execute() {
    buildButtons();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dialogForm->move(screen->availableGeometry().center() - dialogForm->rect().center());
    if (runner)
        runner(*this);
    else
        dialogForm->exec();
    return d->result;
}

void frkBrowse::close(int code) {
    d->result = code;
    dialogForm->done(code == -1 ? QDialog::Accepted : QDialog::Rejected);
}
