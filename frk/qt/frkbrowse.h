// frkBrowse: a modal dialog assembled at run time from one chain of builder
// calls, then executed once and destroyed by the function that needs it.
//
//     bool save = false;
//     btkstring name;
//     frkBrowse dlg;
//     dlg.title("Jméno").staticText();
//     frkStringVarSource::create(dlg, name).edit();
//     frkBoolVarSource::create(dlg, save);
//     frkConstStringSource::create(dlg, "Uložit").check();
//     if (dlg.execute() == -1) ...
//
// The values reach the bound variables only through save events (the OK
// command fires one), so a cancelled dialog changes nothing. The result of
// execute is the code of the last close event fired: -1 for OK, 0 for
// cancel, Esc or the close box, any other number for a command of the
// caller's own. A dialog without commands gets "OK" and "Storno".
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "foundation/btkstring.h"
#include "frk/frkbrowseimpl.h"

class QDialog;
class QPushButton;
class QWidget;
class frkForm;

class frkBrowse : public frkDialog {
public:
    frkBrowse();
    frkBrowse(const frkBrowse&) = delete;
    frkBrowse& operator=(const frkBrowse&) = delete;
    virtual ~frkBrowse();

    frkBrowse& title(const btkstring& text);
    // Pushes a pending source (the creation functions of the sources call it).
    void source(frkDataSource* source) { d->pushSource(source); }
    // Replaces the pending sources by one text formatted from them.
    frkBrowse& format(const btkstring& pattern);
    // The next edit shows '*' for each character.
    frkBrowse& password();
    // The next combo box splits each entry at the first separator into the
    // stored value and the shown label, and works by value.
    frkBrowse& valueSeparator(char separator);
    // The number of the next item or command.
    frkBrowse& key(int number);
    frkBrowse& beginScope();
    frkBrowse& endScope();
    frkBrowse& defaultCommand(int number);
    frkBrowse& cancelCommand(int number);
    void addEvent(frkEvent* event) { d->addPendingEvent(event); }
    frkBrowse& saveEvent();
    frkBrowse& closeWith(int code);

    // Items bound to the pending sources. A static text leaves the other
    // pending options for the item it labels. A combo box pops its list
    // source, then its value source; a check box its caption, then its state.
    frkBrowse& staticText();
    frkBrowse& edit();
    frkBrowse& combo();
    frkBrowse& check();
    frkBrowse& button();
    frkBrowse& beginTable();
    frkBrowse& newRow();
    frkBrowse& endTable();

    frkBrowse& command(const btkstring& caption, const btkstring& identifier);
    frkBrowse& addStandardOkCommand(const btkstring& caption);
    frkBrowse& addStandardCancelCommand(const btkstring& caption);

    // Builds the buttons, lays out and shows the dialog modally.
    int execute();

    frkBrowseImplBase& implBase() override { return *d; }
    frkBrowseImpl* impl() { return d.get(); }
    void reload() override { d->reload(); }
    void save() override { d->save(); }
    void close(int code) override;
    // Nothing in the base: a dialog that acts on command events overrides it.
    void onCommand(int /*id*/) override {}

    // The form, and the button of each command once execute has built them.
    QDialog* form() const;
    QPushButton* commandButton(int i) const { return i >= 0 && i < int(buttons.size()) ? buttons[i] : nullptr; }

    // Tests: called with the laid-out dialog instead of showing it; it
    // clicks, types or closes as a user would.
    static std::function<void(frkBrowse&)> runner;

private:
    void buildButtons();
    void applyLayout(const std::vector<frkRect>& bounds, int width, int height);

    frkForm* dialogForm;
    std::unique_ptr<frkBrowseImpl> d;
    std::vector<QPushButton*> buttons;
};
