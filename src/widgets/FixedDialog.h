#pragma once
// A dialog of fixed size has a title and a close box only: no minimise and
// no maximise. Some window managers draw those boxes whatever the program
// asks; minimising a modal dialog there hides the main window with it, and
// nothing on screen brings either back. Such a dialog therefore comes back
// at once, with its owner.

class QDialog;

// Sets the frame's boxes of dialog and keeps it from staying minimised.
void makeFixedDialog(QDialog* dialog);
