#pragma once
// Qt's line edit holds at most 32767 characters unless told otherwise and
// silently drops the rest of a longer text put into it. Fields that receive a
// selection or a stored value (a link's name, a template read from a tag
// information file) must hold it whole, so a window lifts that default limit
// on its line edits once its controls are built. A field that was given a
// limit of its own keeps it.

class QWidget;

void TakeWholeTexts(QWidget* root);
