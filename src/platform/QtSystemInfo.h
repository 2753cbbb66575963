#pragma once
// Facts about the machine from Qt and the operating system.

#include "platform/SystemInfo.h"

class QtSystemInfo : public SystemInfo {
public:
    // An empty size when there is no screen.
    QSize primaryScreenSize() const override;
    qint64 physicalMemoryBytes() const override;
    // The system's name and version with the kernel's, for instance
    // "Debian GNU/Linux 12 (bookworm) (Linux 6.1.0-18-amd64)".
    QString osVersion() const override;
};
