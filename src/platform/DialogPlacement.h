#pragma once
// Where the program's dialogs open: centred on the screen their main window is
// on (not over the main window), as the dialogs were designed.

class QWidget;

// Centres dialog on its owner's screen. Call it when the dialog is first shown:
// its frame is not known before it is on screen, so the owner's frame stands in.
void centreOnOwnersScreen(QWidget* dialog);
