// The program's windows, each made once at start-up and kept in its global
// window variable (null while it does not exist).
#pragma once

#include "app/exchange/customexportfrm.h"
#include "app/exchange/expfdialogs.h"
#include "app/exchange/expflistfrm.h"
#include "app/exchange/importfrm.h"
#include "app/internet/internalsynfrm.h"
#include "app/internet/loginwizardfrm.h"
#include "app/main/busyfrm.h"
#include "app/main/cmdlinefrm.h"
#include "app/main/mainfrm.h"
#include "app/main/printersettingsfrm.h"
#include "app/main/printrangefrm.h"
#include "app/main/progressfrm.h"
#include "app/main/qsearchfrm.h"
#include "app/main/searchfrm.h"
#include "app/main/showlogfrm.h"
#include "app/main/winlistfrm.h"
#include "app/settings/columnfrm.h"
#include "app/settings/customsortfrm.h"
#include "app/settings/dbpropsfrm.h"
#include "app/settings/optionsfrm.h"
#include "app/song/editsongfrm.h"
#include "app/song/songdifffrm.h"
#include "app/song/songlistfrm.h"
#include "app/song/songsetfrm.h"
#include "app/song/songsubsetfrm.h"
#include "app/song/viewsongfrm.h"

extern Tbusyfrm* busyfrm;
extern Tcolumnfrm* columnfrm;
extern Tcustomsortfrm* customsortfrm;
extern Tdbpropsfrm* dbpropsfrm;
extern Toptionsfrm* optionsfrm;
extern Tprintersettingsfrm* printersettingsfrm;
extern Tprintrangefrm* printrangefrm;
extern Tprogressfrm* progressfrm;
extern Tqsearchfrm* qsearchfrm;
extern Tshowlogfrm* showlogfrm;
extern Twinlistfrm* winlistfrm;

// Makes the windows in their order and runs the main window's creation
// event; the main window is shown when show is set.
void CreateWindows(bool show);
// Destroys every window made by CreateWindows, the main window last, and
// takes the window bridges away from the model.
void DestroyWindows();
