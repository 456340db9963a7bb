// The model tree and its message queue.
//
// Every object of the song model derives from KxObject. Model objects never
// call windows: a change posts the object into the one queue (KxSystem) with
// a kind, and one idle pass tells every registered handler (KxHandler) about
// it. Released objects are deleted only by that pass, after every handler
// has been told, so nobody keeps a pointer to a deleted object.
#pragma once

#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "foundation/btkarray.h"
#include "songs/kxhandlerlist.h"

class KxView;
class KxSong;
class KxDatabase;
class KxCustomView;
class KxSystem;

// Kinds of a queue element; a pending object keeps the highest kind posted.
enum KxNoticeKind { KX_CHANGED = 0, KX_NOTICE = 1, KX_REMOVED = 2 };

class KxObject {
public:
    KxObject() = default;
    KxObject(const KxObject&) = delete;
    KxObject& operator=(const KxObject&) = delete;

    virtual KxView* asView() { return nullptr; }
    virtual KxSong* asSong() { return nullptr; }
    virtual KxDatabase* asDatabase() { return nullptr; }
    virtual KxCustomView* asCustomView() { return nullptr; }
    // Posts the object as removed: it is deleted in the next idle pass,
    // after every handler heard of it. Until then it stays usable.
    virtual void release();
    // Posts the object as changed.
    virtual void changed();
    // Posts a notice about the object.
    virtual void notice();
    // Called at the end of a pass for every object delivered as changed.
    virtual void afterNotify() {}
    // Leaves the parent's child list and orphans the children.
    virtual ~KxObject();

    // Moves the object to the end of the new parent's child list (null
    // detaches it).
    void setParent(KxObject* parent);
    KxObject* getParent() const { return m_parent; }
    KxObject* firstChild() const { return m_firstChild; }
    KxObject* lastChild() const { return m_lastChild; }
    KxObject* nextSibling() const { return m_next; }
    KxObject* prevSibling() const { return m_prev; }

private:
    void detach();

    KxObject* m_parent = nullptr;
    KxObject* m_prev = nullptr;
    KxObject* m_next = nullptr;
    KxObject* m_firstChild = nullptr;
    KxObject* m_lastChild = nullptr;
};

// Receiver of queue notices. Constructing one registers it with the global
// queue; destroying it unregisters it. The owning class destroys it, never
// through a KxHandler pointer.
class KxHandler {
public:
    KxHandler();
    KxHandler(const KxHandler&) = delete;
    KxHandler& operator=(const KxHandler&) = delete;

    // Told of every queue element first, whatever its kind.
    virtual void notify(KxObject* /*object*/, int /*kind*/) {}
    // The object was released and is deleted in this pass.
    virtual void objectRemoved(KxObject* /*object*/) {}
    virtual void objectChanged(KxObject* /*object*/) {}
    virtual void objectNotice(KxObject* /*object*/) {}
    // The pass is over.
    virtual void queueDone() {}

protected:
    ~KxHandler();

private:
    KxSystem* m_system;
};

// Lets a window hear the queue through its own member functions without
// deriving from KxHandler; held as a member, constructed with the window.
template <class T> class TPrivateHandler : public KxHandler {
public:
    explicit TPrivateHandler(T* owner) : owner(owner) {}
    ~TPrivateHandler() = default;
    void objectRemoved(KxObject* object) override { owner->objectRemoved(object); }
    void objectChanged(KxObject* object) override { owner->objectChanged(object); }
    void objectNotice(KxObject* object) override { owner->objectNotice(object); }
    void queueDone() override { owner->queueDone(); }

private:
    T* owner;
};

struct KxQueElem {
    unsigned char kind;
    KxObject* object;
};

// A command run, then deleted, in the next idle pass.
class KxMessage {
public:
    KxMessage() = default;
    KxMessage(const KxMessage&) = delete;
    KxMessage& operator=(const KxMessage&) = delete;
    virtual ~KxMessage() = default;
    virtual void execute() {}
    // The object is deleted in this pass before the message runs: a message
    // that refers to it drops the reference.
    virtual void objectRemoved(KxObject* /*object*/) {}

    KxMessage* next = nullptr;
};

// The queue and the handler registry. One instance, made at start-up before
// any model object; the constructor makes it the global queue.
class KxSystem {
public:
    KxSystem();
    KxSystem(const KxSystem&) = delete;
    KxSystem& operator=(const KxSystem&) = delete;
    // Deletes the messages still pending; objects still pending are not
    // deleted (end with a final pass).
    ~KxSystem();

    // Records a notice: one element per object, with the highest kind
    // posted since the last pass.
    void post(KxObject* object, int kind);
    // Appends a message; the queue owns it from now on.
    void postMessage(KxMessage* message);
    // The idle pass. It never runs inside itself.
    void processQueue();

    int pendingCount() const { return m_pending.count(); }
    bool hasPendingMessages() const { return m_msgHead != nullptr; }
    const KxQueElem& pending(int i) const { return m_pending.at(i); }
    int handlerCount() const { return m_handlers.count(); }

    void addHandler(KxHandler* handler) { m_handlers.add(handler); }
    void removeHandler(KxHandler* handler) { m_handlers.remove(handler); }
    // Takes an object out of everything the queue still holds for it.
    void forget(KxObject* object);

private:
    void rebuildIndex();
    // After a pass broke off at m_walk: keeps the elements not delivered
    // yet and every removal.
    void keepUndelivered();
    // The steps of a pass: every pending element to the handlers (the
    // changed objects in first-change order, the removed ones), then the
    // removed objects deleted, then the posted messages run.
    void deliverPending(std::vector<KxObject*>& changedObjects, std::vector<KxObject*>& removed);
    void deleteRemoved(const std::vector<KxObject*>& removed);
    void runMessages();

    btkCntVec<KxQueElem> m_pending;
    // Object -> index of its latest pending element.
    std::unordered_map<KxObject*, int> m_index;
    KxHandlerList<KxHandler> m_handlers;
    KxMessage* m_msgHead = nullptr;
    KxMessage* m_msgTail = nullptr;
    // Index of the element the running pass is delivering; -1 outside.
    int m_walk = -1;
    bool m_running = false;
    // Objects recorded as removed in the running pass: later posts of them
    // are ignored, they are deleted at its end.
    std::unordered_set<KxObject*> m_removedSet;
};

// The program's queue (null before it is made and after it is gone).
extern KxSystem* gKxSystem;

// Holds one model object and releases it when the holder goes.
template <class T> class KxPtr {
public:
    explicit KxPtr(T* object = nullptr) : object(object) {}
    KxPtr(const KxPtr&) = delete;
    KxPtr& operator=(const KxPtr&) = delete;
    ~KxPtr() {
        if (object) object->release();
    }
    T* get() const { return object; }
    T* operator->() const { return object; }

private:
    T* object;
};
