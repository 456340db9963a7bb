// The message queue: one element per object with the highest kind, the
// order of a pass, handlers and messages that change the queue while it
// runs, the busy notice, and the object tree.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "songs/appservices.h"
#include "songs/kxobject.h"

namespace {

std::vector<std::string> events;

// Objects still alive at the end of a test; the fixture releases them.
std::set<KxObject*> live;

struct Obj : KxObject {
    explicit Obj(std::string n) : n(std::move(n)) { live.insert(this); }
    ~Obj() override {
        live.erase(this);
        events.push_back("delete " + n);
    }
    void afterNotify() override { events.push_back("after " + n); }
    std::string n;
};

std::string nameOf(KxObject* o) { return static_cast<Obj*>(o)->n; }

struct Recorder final : KxHandler {
    explicit Recorder(std::string tag) : tag(std::move(tag)) {}
    ~Recorder() = default;
    void notify(KxObject* o, int kind) override {
        events.push_back(tag + " notify " + nameOf(o) + " " + std::to_string(kind));
    }
    void objectRemoved(KxObject* o) override {
        events.push_back(tag + " removed " + nameOf(o));
        if (onRemoved) onRemoved(o);
    }
    void objectChanged(KxObject* o) override {
        events.push_back(tag + " changed " + nameOf(o));
        if (onChanged) onChanged(o);
    }
    void objectNotice(KxObject* o) override { events.push_back(tag + " notice " + nameOf(o)); }
    void queueDone() override {
        events.push_back(tag + " done");
        if (onDone) onDone();
    }
    std::string tag;
    std::function<void(KxObject*)> onChanged, onRemoved;
    std::function<void()> onDone;
};

struct Msg : KxMessage {
    explicit Msg(std::string n, std::function<void()> f = {}) : n(std::move(n)), f(std::move(f)) {}
    ~Msg() override { events.push_back("msgdelete " + n); }
    void execute() override {
        events.push_back("run " + n);
        if (f) f();
    }
    std::string n;
    std::function<void()> f;
};

struct BusyRecorder : KxBusyWindow {
    void showBusy(const char* text) override { events.push_back(std::string("busy ") + text); }
    void hideBusy() override { events.push_back("unbusy"); }
};

class QueueTest : public ::testing::Test {
protected:
    void SetUp() override { events.clear(); }
    void TearDown() override {
        gBusyWindow = nullptr;
        for (KxObject* o : std::set<KxObject*>(live)) o->release();
        queue.processQueue();
        EXPECT_TRUE(live.empty());
    }
    std::vector<std::string> eventsWith(const std::string& prefix) {
        std::vector<std::string> r;
        for (auto& e : events)
            if (e.rfind(prefix, 0) == 0) r.push_back(e);
        return r;
    }
    KxSystem queue;
};

using V = std::vector<std::string>;

TEST_F(QueueTest, RepeatedChangesMakeOneElementAndOneDelivery) {
    Recorder h("h");
    Obj* a = new Obj("a");
    for (int i = 0; i < 3; ++i) a->changed();
    EXPECT_EQ(queue.pendingCount(), 1);
    queue.processQueue();
    EXPECT_EQ(events, (V{"h notify a 0", "h changed a", "h done", "after a"}));
}

TEST_F(QueueTest, KindsRiseToTheHighestAndKeepTheirPlace) {
    Recorder h("h");
    Obj *a = new Obj("a"), *b = new Obj("b"), *c = new Obj("c");
    a->changed();
    b->changed();
    c->release();
    c->changed();  // absorbed by the release
    a->notice();   // a change turns into a notice
    b->release();  // a release overrides a change
    ASSERT_EQ(queue.pendingCount(), 3);
    EXPECT_EQ(queue.pending(0).object, a);
    EXPECT_EQ(queue.pending(0).kind, KX_NOTICE);
    EXPECT_EQ(queue.pending(1).kind, KX_REMOVED);
    EXPECT_EQ(queue.pending(2).kind, KX_REMOVED);
    queue.processQueue();
    EXPECT_EQ(events, (V{"h notify a 1", "h notice a", "h notify b 2", "h notify c 2", "h removed b", "h removed c",
                         "delete b", "delete c", "h done"}));
}

TEST_F(QueueTest, PassOrderWithTwoHandlersAndMessages) {
    Recorder h1("h1"), h2("h2");
    Obj* a = new Obj("a");
    Obj* r = new Obj("r");
    a->changed();
    r->release();
    queue.postMessage(new Msg("m1", [&] { queue.postMessage(new Msg("m2")); }));
    queue.processQueue();
    EXPECT_EQ(events, (V{"h1 notify a 0", "h2 notify a 0", "h1 changed a", "h2 changed a", "h1 notify r 2",
                         "h2 notify r 2", "h1 removed r", "h2 removed r", "delete r", "run m1", "msgdelete m1",
                         "run m2", "msgdelete m2", "h1 done", "h2 done", "after a"}));
}

TEST_F(QueueTest, AThrowingHandlerBreaksOnlyItsOwnPass) {
    Recorder h("h");
    Obj *a = new Obj("a"), *b = new Obj("b"), *r = new Obj("r");
    r->release();
    a->changed();
    b->changed();
    h.onChanged = [&](KxObject* o) {
        if (o == a) throw std::runtime_error("handler");
    };
    EXPECT_THROW(queue.processQueue(), std::runtime_error);
    EXPECT_EQ(queue.pendingCount(), 2);  // the removal and b
    h.onChanged = nullptr;
    events.clear();
    queue.processQueue();
    EXPECT_EQ(events,
              (V{"h notify r 2", "h notify b 0", "h changed b", "h removed r", "delete r", "h done", "after b"}));
    events.clear();
    a->changed();
    queue.processQueue();
    EXPECT_EQ(events, (V{"h notify a 0", "h changed a", "h done", "after a"}));
}

TEST_F(QueueTest, PostsDuringThePass) {
    Recorder h("h");
    Obj *a = new Obj("a"), *b = new Obj("b"), *c = new Obj("c");
    // Posted from objectChanged: delivered in the same pass. Posted again
    // with the same kind: no second delivery.
    h.onChanged = [&](KxObject* o) {
        if (o == a) {
            b->changed();
            a->changed();
        }
    };
    // Posted from queueDone: the next pass.
    h.onDone = [&] {
        c->changed();
        h.onDone = nullptr;
    };
    a->changed();
    queue.processQueue();
    EXPECT_EQ(eventsWith("h changed"), (V{"h changed a", "h changed b"}));
    EXPECT_EQ(queue.pendingCount(), 1);
    events.clear();
    queue.processQueue();
    EXPECT_EQ(eventsWith("h changed"), (V{"h changed c"}));
}

TEST_F(QueueTest, ReleaseOfAnObjectAlreadyDeliveredIsNotLost) {
    Recorder h("h");
    Obj *a = new Obj("a"), *b = new Obj("b");
    // Releasing a (delivered first) while b is being delivered.
    h.onChanged = [&](KxObject* o) {
        if (o == b) a->release();
    };
    a->changed();
    b->changed();
    queue.processQueue();
    EXPECT_EQ(eventsWith("h removed"), (V{"h removed a"}));
    EXPECT_EQ(eventsWith("delete"), (V{"delete a"}));
    // A deleted object gets no after-notification.
    EXPECT_EQ(eventsWith("after"), (V{"after b"}));
}

TEST_F(QueueTest, ObjectsRemovedInAPassTakeNoFurtherNotices) {
    Recorder h("h");
    Obj* a = new Obj("a");
    h.onRemoved = [&](KxObject* o) { o->changed(); };
    a->release();
    queue.processQueue();
    EXPECT_EQ(queue.pendingCount(), 0);
    queue.processQueue();  // nothing refers to the deleted object
}

struct RefMsg : KxMessage {
    explicit RefMsg(KxObject* o) : target(o) {}
    void execute() override { events.push_back(target ? "run with " + nameOf(target) : "run without"); }
    void objectRemoved(KxObject* o) override {
        if (o == target) target = nullptr;
    }
    KxObject* target;
};

TEST_F(QueueTest, PendingMessagesDropRemovedObjects) {
    Obj *a = new Obj("a"), *b = new Obj("b");
    queue.postMessage(new RefMsg(a));
    queue.postMessage(new RefMsg(b));
    a->release();
    queue.processQueue();
    EXPECT_EQ(eventsWith("run"), (V{"run without", "run with b"}));
}

struct SelfRemover final : KxHandler {
    void objectChanged(KxObject*) override { delete this; }
};

TEST_F(QueueTest, HandlersRegisteredOrRemovedDuringAPass) {
    Obj* a = new Obj("a");
    new SelfRemover;  // removes itself while it is told: h2 must not be skipped
    Recorder* h2 = new Recorder("h2");
    Recorder h3("h3");
    Recorder* late = nullptr;
    // h2 registers a new handler: it hears the rest of the pass.
    h2->onChanged = [&](KxObject*) {
        if (!late) late = new Recorder("late");
    };
    a->changed();
    queue.processQueue();
    for (const char* once : {"h2 changed", "h3 changed", "late changed", "late done"})
        EXPECT_EQ(eventsWith(once).size(), 1u) << once;
    EXPECT_EQ(queue.handlerCount(), 3);
    delete h2;
    delete late;
    EXPECT_EQ(queue.handlerCount(), 1);
}

TEST_F(QueueTest, EmptyQueueStillEndsThePassAndBaseMessageIsDeleted) {
    Recorder h("h");
    queue.postMessage(new KxMessage);
    queue.processQueue();
    EXPECT_EQ(events, (V{"h done"}));
    EXPECT_FALSE(queue.hasPendingMessages());
}

TEST_F(QueueTest, BusyNoticeAboveThirtyTwoPending) {
    BusyRecorder busy;
    gBusyWindow = &busy;
    std::vector<Obj*> objs;
    for (int i = 0; i < 33; ++i) objs.push_back(new Obj("o" + std::to_string(i)));
    for (int i = 0; i < 32; ++i) objs[i]->changed();
    queue.processQueue();
    EXPECT_TRUE(eventsWith("busy").empty());
    for (Obj* o : objs) o->changed();
    queue.processQueue();
    EXPECT_EQ(eventsWith("busy"), (V{"busy Vaše poslední přání vyžaduje ne zrovna pakatel práce, vydržte..."}));
    EXPECT_EQ(events.back(), "unbusy");
}

struct Window {
    Window() : handler(this) {}
    void objectRemoved(KxObject* o) { events.push_back("win removed " + nameOf(o)); }
    void objectChanged(KxObject* o) { events.push_back("win changed " + nameOf(o)); }
    void objectNotice(KxObject* o) { events.push_back("win notice " + nameOf(o)); }
    void queueDone() { events.push_back("win done"); }
    TPrivateHandler<Window> handler;
};

TEST_F(QueueTest, PrivateHandlerForwardsToItsWindow) {
    Obj* a = new Obj("a");
    {
        Window w;
        a->notice();
        queue.processQueue();
        EXPECT_EQ(events, (V{"win notice a", "win done"}));
    }
    events.clear();
    a->release();
    queue.processQueue();
    EXPECT_EQ(events, (V{"delete a"}));
}

TEST_F(QueueTest, ChildListsStayLinked) {
    Obj *p = new Obj("p"), *q = new Obj("q"), *a = new Obj("a"), *b = new Obj("b"), *c = new Obj("c");
    for (Obj* o : {a, b, c}) o->setParent(p);
    b->setParent(q);
    EXPECT_EQ(p->firstChild(), a);
    EXPECT_EQ(a->nextSibling(), c);
    EXPECT_EQ(c->prevSibling(), a);
    EXPECT_EQ(p->lastChild(), c);
    EXPECT_EQ(q->firstChild(), b);
    EXPECT_EQ(b->prevSibling(), nullptr);
    EXPECT_EQ(b->nextSibling(), nullptr);
    // Deleting the parent orphans its children; deleting a child unlinks it.
    c->release();
    p->release();
    queue.processQueue();
    EXPECT_EQ(a->getParent(), nullptr);
    EXPECT_EQ(a->nextSibling(), nullptr);
    a->setParent(q);
    EXPECT_EQ(q->lastChild(), a);
    EXPECT_EQ(b->nextSibling(), a);
}

}  // namespace
