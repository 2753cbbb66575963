#pragma once
// Seam: facts about the machine shown to the user or used for geometry checks.

#include <QSize>
#include <QString>

class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    virtual QSize primaryScreenSize() const = 0;
    // Total physical memory in bytes, or -1 when it cannot be told.
    virtual qint64 physicalMemoryBytes() const = 0;
    // The operating system's version text, or empty when it cannot be told.
    virtual QString osVersion() const = 0;
};
