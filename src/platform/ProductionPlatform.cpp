#include "platform/ProductionPlatform.h"

#include "platform/ProgramFolder.h"

#include <QFileInfo>

struct ProductionPlatform::Services {
    SystemClock clock;
};

ProductionPlatform::ProductionPlatform(const QString& executablePath, const QStringList& arguments)
    : services_(std::make_unique<Services>()) {
    platform_.clock = &services_->clock;
    platform_.executablePath = executablePath;
    platform_.arguments = arguments;
    platform_.programFolder = resolveProgramFolder(QFileInfo(executablePath).absolutePath());
}

ProductionPlatform::~ProductionPlatform() = default;
