#include "support/FakeDialogs.h"

#include <gtest/gtest.h>

void FakeFileDialogs::chooseNext(const QString& path, int filterIndex) {
    script_.append(Result{path, filterIndex});
}

void FakeFileDialogs::cancelNext() {
    script_.append(Result{});
}

bool FakeFileDialogs::run(FileDialog& dialog) {
    requests_.append(FileDialogRecord{dialog.kind(), dialog.title, dialog.filter, dialog.filterIndex,
                                      dialog.initialDir, dialog.defaultExt, dialog.fileName, dialog.options});
    if (script_.isEmpty()) {
        if (failOnUnscripted_)
            ADD_FAILURE() << "Unexpected file dialog: " << dialog.title.toStdString();
        return false;
    }
    const Result result = script_.takeFirst();
    if (!result.path)
        return false;
    dialog.fileName = *result.path;
    if (result.filterIndex > 0)
        dialog.filterIndex = result.filterIndex;
    return true;
}

const FileDialogRecord& FakeFileDialogs::last() const {
    static const FileDialogRecord none;
    if (requests_.isEmpty()) {
        ADD_FAILURE() << "No file dialog was shown";
        return none;
    }
    return requests_.last();
}

void FakeFileDialogs::clear() {
    requests_.clear();
    script_.clear();
    remembered_.clear();
}

std::optional<quint32> FakeColorDialog::pick(std::optional<quint32> initial,
                                             const QList<quint32>& customColors) {
    requests_.append(ColorDialogRecord{initial, customColors});
    if (script_.isEmpty()) {
        if (failOnUnscripted_)
            ADD_FAILURE() << "Unexpected colour dialog";
        return std::nullopt;
    }
    return script_.takeFirst();
}

const ColorDialogRecord& FakeColorDialog::last() const {
    static const ColorDialogRecord none;
    if (requests_.isEmpty()) {
        ADD_FAILURE() << "No colour dialog was shown";
        return none;
    }
    return requests_.last();
}

void FakeColorDialog::clear() {
    requests_.clear();
    script_.clear();
}
