// The file dialogs the model asks for (KxFileDialogs), shown with Qt.
#pragma once

// Makes ExecuteOpenDialog and ExecuteSaveDialog show the Qt dialogs.
void InstallQtFileDialogs();
