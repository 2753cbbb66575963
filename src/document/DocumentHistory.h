#pragma once
// The history of the last three saved diary files, newest first.

#include "settings/AppSet.h"

// Puts a just-saved path at the top: a path already first stays first; the
// second swaps with the first (the third stays); any other enters first and
// the third falls out. Paths are compared exactly (case matters).
void PushHistory(AppSet& settings, const QString& savedPath);
