#include "songs/kxspace.h"

#include "foundation/btkfile.h"
#include "songs/kxsong.h"

KxSpace* gKxSpace = nullptr;

namespace {

bool equalsIgnoringAsciiCase(const char* a, const char* b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (; *a && *b; ++a, ++b)
        if (lower(*a) != lower(*b)) return false;
    return *a == *b;
}

}  // namespace

KxSpace::KxSpace() {
    if (!gKxSpace) gKxSpace = this;
    stack = new KxStack;
    stack->setParent(this);
}

KxSpace::~KxSpace() {
    if (gKxSpace == this) gKxSpace = nullptr;
}

void KxSpace::release() {
    for (KxView* view : views) view->release();
    stack->release();
    KxObject::release();
}

void KxSpace::addView(KxView* view) {
    views.add(view);
    changed();
}

void KxSpace::loadDatabaseFolder(const char* dir) {
    for (const char* pattern : {"*.xml", "*.xgz"}) {
        btkFileList files(btkFile(dir).join(pattern));
        for (int i = 0; i < files.count(); ++i) {
            auto* db = new KxDatabase(btkFile(dir).join(files[i]));
            db->inDbFolder = true;
            addView(db);
        }
    }
}

void KxSpace::getViews(btkCntVec<KxView*>& list) const { list = views; }

void KxSpace::getDatabases(btkCntVec<KxDatabase*>& list) const {
    list.clear();
    for (KxView* view : views)
        if (KxDatabase* db = view->asDatabase()) list.add(db);
}

KxView* KxSpace::findView(const char* name) const {
    for (KxView* view : views) {
        if (equalsIgnoringAsciiCase(view->name(), name)) return view;
        if (KxDatabase* db = view->asDatabase())
            if (equalsIgnoringAsciiCase(btkFile(db->getFileName()).fileName(), name)) return view;
    }
    return nullptr;
}

void KxSpace::objectRemoved(KxObject* object) {
    if (KxSong* song = object->asSong()) {
        if (song->onStack && stack->songs.remove(song)) {
            song->onStack = false;
            stack->changed();
        }
        return;
    }
    if (KxView* view = object->asView())
        if (views.remove(view)) changed();
}
