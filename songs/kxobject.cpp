#include "songs/kxobject.h"

#include <vector>

#include "foundation/btkref.h"
#include "songs/appservices.h"

KxSystem* gKxSystem = nullptr;

// ---- KxObject

void KxObject::release() {
    if (gKxSystem) gKxSystem->post(this, KX_REMOVED);
}

void KxObject::changed() {
    if (gKxSystem) gKxSystem->post(this, KX_CHANGED);
}

void KxObject::notice() {
    if (gKxSystem) gKxSystem->post(this, KX_NOTICE);
}

KxObject::~KxObject() {
    detach();
    for (KxObject* child = m_firstChild; child;) {
        KxObject* next = child->m_next;
        child->m_parent = child->m_prev = child->m_next = nullptr;
        child = next;
    }
    m_firstChild = m_lastChild = nullptr;
    if (gKxSystem) gKxSystem->forget(this);
}

void KxObject::detach() {
    if (!m_parent) return;
    if (m_prev)
        m_prev->m_next = m_next;
    else
        m_parent->m_firstChild = m_next;
    if (m_next)
        m_next->m_prev = m_prev;
    else
        m_parent->m_lastChild = m_prev;
    m_parent = m_prev = m_next = nullptr;
}

void KxObject::setParent(KxObject* parent) {
    detach();
    if (!parent) return;
    m_parent = parent;
    m_prev = parent->m_lastChild;
    if (m_prev)
        m_prev->m_next = this;
    else
        parent->m_firstChild = this;
    parent->m_lastChild = this;
}

// ---- KxHandler

KxHandler::KxHandler() : m_system(gKxSystem) {
    if (m_system) m_system->addHandler(this);
}

KxHandler::~KxHandler() {
    // The queue may have gone first at the end of the program.
    if (m_system && m_system == gKxSystem) m_system->removeHandler(this);
}

// ---- KxSystem

KxSystem::KxSystem() {
    if (!gKxSystem) gKxSystem = this;
}

KxSystem::~KxSystem() {
    while (m_msgHead) {
        KxMessage* m = m_msgHead;
        m_msgHead = m->next;
        delete m;
    }
    m_msgTail = nullptr;
    if (gKxSystem == this) gKxSystem = nullptr;
}

void KxSystem::post(KxObject* object, int kind) {
    if (!object) return;
    // An object the running pass deletes takes no further notices.
    if (m_removedSet.count(object)) return;
    auto found = m_index.find(object);
    if (found != m_index.end()) {
        KxQueElem& e = m_pending[found->second];
        if (e.kind >= kind) return;
        if (found->second > m_walk) {
            // Not delivered yet: raise it in its place.
            e.kind = static_cast<unsigned char>(kind);
            return;
        }
        // The running pass has taken that element already: deliver the
        // higher kind later in this pass rather than lose it.
    }
    m_pending.add(KxQueElem{static_cast<unsigned char>(kind), object});
    m_index[object] = m_pending.count() - 1;
}

void KxSystem::postMessage(KxMessage* message) {
    if (!message) return;
    message->next = nullptr;
    if (m_msgTail)
        m_msgTail->next = message;
    else
        m_msgHead = message;
    m_msgTail = message;
}

void KxSystem::keepUndelivered() {
    btkCntVec<KxQueElem> kept;
    for (int i = 0; i < m_pending.count(); ++i)
        if (i > m_walk || m_pending[i].kind == KX_REMOVED) kept.add(m_pending[i]);
    m_pending = kept;
    m_walk = -1;
    rebuildIndex();
}

void KxSystem::rebuildIndex() {
    m_index.clear();
    for (int i = 0; i < m_pending.count(); ++i) m_index[m_pending[i].object] = i;
}

void KxSystem::forget(KxObject* object) {
    if (!m_index.count(object)) return;
    // Only an object deleted outside a pass can still be pending; the
    // elements already delivered by a running pass stay in place.
    for (int i = m_pending.count() - 1; i > m_walk; --i)
        if (m_pending[i].object == object) m_pending.removeItems(i, 1);
    rebuildIndex();
}

void KxSystem::processQueue() {
    if (m_running) return;
    // However the pass ends, the next one runs. When a handler throws
    // during the walk, the elements it had not reached, and the removals
    // (their objects still wait for deletion), stay for the next pass; the
    // exception goes on to the caller's guard.
    struct PassState {
        KxSystem& queue;
        ~PassState() {
            if (queue.m_walk >= 0) queue.keepUndelivered();
            queue.m_removedSet.clear();
            queue.m_running = false;
        }
    } passState{*this};
    m_running = true;

    btkAutoPtr<KxBusy> busy;
    if (m_pending.count() > 32)
        busy.reset(new KxBusy("Vaše poslední přání vyžaduje ne zrovna pakatel práce, vydržte..."));

    std::vector<KxObject*> changedObjects;
    std::vector<KxObject*> removed;
    deliverPending(changedObjects, removed);
    deleteRemoved(removed);
    runMessages();
    m_handlers.forEach([](KxHandler* h) { h->queueDone(); });
    for (KxObject* object : changedObjects) object->afterNotify();
}

void KxSystem::deliverPending(std::vector<KxObject*>& changedObjects, std::vector<KxObject*>& removed) {
    std::unordered_set<KxObject*> changedSet;
    for (m_walk = 0; m_walk < m_pending.count(); ++m_walk) {
        KxQueElem e = m_pending[m_walk];
        KxObject* object = e.object;
        int kind = e.kind;
        m_handlers.forEach([&](KxHandler* h) { h->notify(object, kind); });
        if (kind == KX_CHANGED) {
            m_handlers.forEach([&](KxHandler* h) { h->objectChanged(object); });
            if (changedSet.insert(object).second) changedObjects.push_back(object);
        } else if (kind == KX_NOTICE) {
            m_handlers.forEach([&](KxHandler* h) { h->objectNotice(object); });
        } else if (m_removedSet.insert(object).second) {
            removed.push_back(object);
        }
    }
    m_walk = -1;
    m_pending.clear();
    m_index.clear();

    // A removed object gets no after-notification.
    if (!removed.empty() && !changedSet.empty()) {
        std::vector<KxObject*> kept;
        for (KxObject* o : changedObjects)
            if (!m_removedSet.count(o)) kept.push_back(o);
        changedObjects.swap(kept);
    }
}

void KxSystem::deleteRemoved(const std::vector<KxObject*>& removed) {
    for (KxObject* object : removed) m_handlers.forEach([&](KxHandler* h) { h->objectRemoved(object); });
    // Pending messages must not reach the objects deleted now.
    for (KxObject* object : removed)
        for (KxMessage* m = m_msgHead; m; m = m->next) m->objectRemoved(object);
    for (KxObject* object : removed) delete object;
}

void KxSystem::runMessages() {
    while (m_msgHead) {
        KxMessage* m = m_msgHead;
        m_msgHead = m->next;
        if (!m_msgHead) m_msgTail = nullptr;
        m->execute();
        delete m;
    }
}
