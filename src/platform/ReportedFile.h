#pragma once
// Reading and writing a text file where a failure is the user's business: the
// reason is shown in a message box (caption "Oribel", error icon) naming the
// file, and the caller only learns that it failed.

#include "platform/Messages.h"

#include <QString>
#include <optional>

std::optional<QString> readTextReporting(const QString& path, MessageService& messages);
bool writeTextReporting(const QString& path, const QString& text, MessageService& messages);
