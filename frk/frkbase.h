// The two faces of a run-time dialog that its parts talk to, without any
// widget: frkBrowseImplBase is where sources, events and triggers register
// (the dialog owns them from then on) and where change notices enter;
// frkDialog is what the events of a command fire into.
//
// The Qt dialog frkBrowse (frk/qt/frkbrowse.h) implements frkDialog; its
// frkBrowseImpl (frk/frkbrowseimpl.h) implements frkBrowseImplBase.
#pragma once

class frkDataSource;
class frkEvent;
class frkTrigger;
class frkTriggerEvent;

class frkBrowseImplBase {
public:
    // Each takes ownership: the dialog deletes the object with itself.
    virtual void addDataSource(frkDataSource* source) = 0;
    virtual void addEvent(frkEvent* event) = 0;
    virtual void addTrigger(frkTrigger* trigger) = 0;
    // The one entry for change notices: items and conditional states are
    // told, then the dialog is laid out again once nothing holds the layout.
    virtual void notifyChanged(const frkTriggerEvent& notice) = 0;
    // Lays the dialog out now, or as soon as the layout is released.
    virtual void requestLayout() = 0;

protected:
    ~frkBrowseImplBase() = default;
};

// A key of an item or a command: the scope it was made in and the number
// given to it with frkBrowse::key (-1 without one).
struct frkKey {
    int scope = -1;
    int number = -1;
};

// Keys match when scope and number agree and the number is at least 1, so
// a key made without a number never matches anything.
inline bool frkKeysMatch(const frkKey& a, const frkKey& b) {
    return a.scope == b.scope && a.number == b.number && a.number >= 1;
}

class frkDialog {
public:
    virtual frkBrowseImplBase& implBase() = 0;
    // Every item writes its control back into its source(s), in creation
    // order.
    virtual void save() = 0;
    // Every item reads its source(s) into its control, in creation order.
    virtual void reload() = 0;
    // Sets the result and ends the modal loop.
    virtual void close(int code) = 0;
    // A command event fired with this identifier.
    virtual void onCommand(int id) = 0;

protected:
    ~frkDialog() = default;
};
