// What happens in a run-time dialog when the user acts. A command button or
// a button item fires the events it took over, in order: save the values,
// close with a result code, or hand a command number to the dialog. Edits
// and combo boxes send change notices, which the dialog passes to its
// items and conditional states before laying itself out again.
//
// Events, triggers and conditional states are owned by their dialog from
// construction on; commands and buttons only point at them.
#pragma once

#include "foundation/btkarray.h"
#include "frk/frkbase.h"

class frkVCLItem;

class frkEvent {
public:
    explicit frkEvent(frkDialog& dialog);
    frkEvent(const frkEvent&) = delete;
    frkEvent& operator=(const frkEvent&) = delete;
    virtual ~frkEvent() = default;
    virtual void fire() {}

protected:
    frkDialog* dialog;
};

// Every item writes its control back into its source(s).
class frkSaveEvent final : public frkEvent {
public:
    using frkEvent::frkEvent;
    void fire() override { dialog->save(); }
};

// The dialog's result becomes the code and the dialog closes. Events after
// it in the same chain still run.
class frkCloseEvent final : public frkEvent {
public:
    frkCloseEvent(frkDialog& dialog, int code) : frkEvent(dialog), code(code) {}
    void fire() override { dialog->close(code); }

private:
    int code;
};

// Hands the identifier to the dialog's onCommand; the dialog stays open.
class frkCommandEvent final : public frkEvent {
public:
    frkCommandEvent(frkDialog& dialog, int id) : frkEvent(dialog), id(id) {}
    void fire() override { dialog->onCommand(id); }
    // Appends a new command event to the dialog's pending events.
    template <class D> static D& create(D& dialog, int id) {
        dialog.addEvent(new frkCommandEvent(dialog, id));
        return dialog;
    }

private:
    int id;
};

// Fires each event in order.
void frkFire(const btkCntVec<frkEvent*>& events);

// ---- change notices

class frkTriggerEvent {
public:
    virtual ~frkTriggerEvent() = default;
};

// The control of the item with this key changed.
class frkObjChangedTriggerEvent final : public frkTriggerEvent {
public:
    frkObjChangedTriggerEvent(frkKey key, int detail) : key(key), detail(detail) {}
    frkKey key;
    int detail;
};

// Decides whether a notice concerns the item or state it belongs to. The
// base matches nothing.
class frkTrigger {
public:
    explicit frkTrigger(frkBrowseImplBase& owner) { owner.addTrigger(this); }
    frkTrigger(const frkTrigger&) = delete;
    frkTrigger& operator=(const frkTrigger&) = delete;
    virtual ~frkTrigger() = default;
    virtual bool matches(const frkTriggerEvent& /*notice*/) { return false; }
};

// A group of items (those placed while it was the innermost open state)
// that reacts to notices its trigger matches by applying itself to them
// and to its nested states. The base applies nothing to an item.
class frkCondState {
public:
    explicit frkCondState(frkTrigger* trigger) : trigger(trigger) {}
    frkCondState(const frkCondState&) = delete;
    frkCondState& operator=(const frkCondState&) = delete;
    virtual ~frkCondState() = default;

    virtual void onNotice(const frkTriggerEvent& notice) {
        if (trigger && trigger->matches(notice)) apply();
    }
    virtual void applyTo(frkVCLItem* /*item*/) {}
    virtual void apply() {
        for (frkVCLItem* item : items) applyTo(item);
        for (frkCondState* state : nested) state->apply();
    }

    frkTrigger* trigger;
    btkCntVec<frkVCLItem*> items;
    btkCntVec<frkCondState*> nested;
};
