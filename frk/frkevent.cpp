#include "frk/frkevent.h"

frkEvent::frkEvent(frkDialog& dialog) : dialog(&dialog) { dialog.implBase().addEvent(this); }

void frkFire(const btkCntVec<frkEvent*>& events) {
    // A copy: an event may change the dialog while the chain runs.
    const btkCntVec<frkEvent*> chain = events;
    for (frkEvent* event : chain) event->fire();
}
