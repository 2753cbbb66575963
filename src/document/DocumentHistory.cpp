#include "document/DocumentHistory.h"

void PushHistory(AppSet& settings, const QString& savedPath) {
    if (savedPath != settings.FileHistory1) {
        if (savedPath != settings.FileHistory2)
            settings.FileHistory3 = settings.FileHistory2;
        settings.FileHistory2 = settings.FileHistory1;
    }
    settings.FileHistory1 = savedPath;
}
