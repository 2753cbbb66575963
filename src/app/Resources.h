#pragma once
// The program's compiled-in resources (the icon) live in the oribel_ui static
// library, whose resources must be registered once before use.

#include <QIcon>

// Registers the resources under ":/oribel". Safe to call more than once.
void initOribelResources();

// The program icon, ":/oribel/oribel.svg" (registers the resources first).
QIcon oribelIcon();
