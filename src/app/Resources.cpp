#include "app/Resources.h"

#include <QString>

// Q_INIT_RESOURCE declares a function, so it must be used outside any namespace.
static void registerOribelResources() {
    Q_INIT_RESOURCE(oribel);
}

void initOribelResources() {
    static const bool registered = (registerOribelResources(), true);
    Q_UNUSED(registered);
}

QIcon oribelIcon() {
    initOribelResources();
    return QIcon(QStringLiteral(":/oribel/oribel.svg"));
}
