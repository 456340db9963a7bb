// The modal file dialogs on QFileDialog. Filters are given in the
// platform's form: caption and pattern pairs separated by "|", several
// patterns of one pair separated by ";" ("Databáze|*.xml;*.xgz|Vše|*.*").
#pragma once

#include <QString>

#include "foundation/btkstring.h"
#include "foundation/btkstrings.h"

// Names are the program's (Windows-1250) paths; a chosen name with a
// character Windows-1250 lacks is refused with an error box, as cancel.
//
// The Qt name filter of such a list: "Databáze (*.xml *.xgz);;Vše (*.*)".
QString btkQtFileFilter(const char* filter);
// An existing file; on OK the chosen path is written to path and true
// returned.
bool btkQtOpenFileDialog(const char* filter, const char* initialDir, btkstring& path);
// Several existing files; on OK they replace the list.
bool btkQtOpenFilesDialog(const char* filter, const char* initialDir, btkStrings& paths);
// The save dialog alone: it never asks about an existing file (the backend's
// saveFile does, once the name is complete). path holds the proposed name on
// entry. A name typed without an extension gets the one of the chosen
// filter when that filter names one ("Databáze (*.xml)").
bool btkQtSaveFileDialog(const char* filter, const char* initialDir, btkstring& path);
// The path with ".ext" added when its file name has no extension; ext ""
// or "*" adds nothing.
btkstring btkWithDefaultExt(const btkstring& path, const char* ext);
