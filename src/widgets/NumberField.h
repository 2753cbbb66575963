#pragma once
// A line edit for a number (a date part, a size): the input method stays out
// of it while it has the focus, so digits come as typed on the keyboard, and
// full-width digits that reach it anyway (pasted, or typed with an input
// method that ignores the field's wish) are taken as their ASCII forms.

class QLineEdit;

void makeNumberField(QLineEdit* edit);
