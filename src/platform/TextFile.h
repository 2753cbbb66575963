#pragma once
// Reading and writing whole text files through the CP932 codec.

#include <QString>
#include <optional>

namespace textfile {

// Reads the whole file; CR LF (and a lone CR) become '\n'. On failure returns
// nothing and, when error is given, a sentence naming the reason.
std::optional<QString> read(const QString& path, QString* error = nullptr);

// Writes text atomically (the old file stays as it was when anything fails);
// each '\n' is written as CR LF, nothing is added after the last line.
// On failure returns false and, when error is given, a sentence naming the reason.
bool write(const QString& path, const QString& text, QString* error = nullptr);

} // namespace textfile
