#pragma once
// The real services of the platform seams, owned for the whole run.

#include "platform/Platform.h"

#include <memory>

class ProductionPlatform {
public:
    ProductionPlatform(const QString& executablePath, const QStringList& arguments);
    ~ProductionPlatform();
    ProductionPlatform(const ProductionPlatform&) = delete;
    ProductionPlatform& operator=(const ProductionPlatform&) = delete;

    const Platform& platform() const { return platform_; }

private:
    Platform platform_;
    struct Services;
    std::unique_ptr<Services> services_;
};
