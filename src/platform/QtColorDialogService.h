#pragma once
// The colour chooser as Qt's own (non-native) QColorDialog, which always shows
// its full form with the custom colours.

#include "platform/FileDialogs.h"

#include <QPointer>

class QWidget;

class QtColorDialogService : public ColorDialogService {
public:
    // parent: the window that owns the chooser; none: the active window at the
    // moment it is shown.
    explicit QtColorDialogService(QWidget* parent = nullptr);

    std::optional<quint32> pick(std::optional<quint32> initial, const QList<quint32>& customColors) override;

private:
    QPointer<QWidget> parent_;
    bool fixedParent_;
};
