// The file dialogs the model asks for (KxFileDialogs), shown by the
// program's dialog backend (btkDialogs).
#pragma once

// Makes ExecuteOpenDialog and ExecuteSaveDialog show the Qt dialogs.
void InstallQtFileDialogs();
