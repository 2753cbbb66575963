#pragma once
// File and colour dialogs for tests: each records how it was configured and
// answers from a script. A dialog shown with nothing scripted fails the test
// (naming its title) and is cancelled, unless failOnUnscripted is switched off;
// then it is cancelled silently.

#include "platform/FileDialogs.h"
#include "support/QtPrinters.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <ostream>

// A copy of a FileDialog's configuration at the moment it was shown.
struct FileDialogRecord {
    FileDialogKind kind = FileDialogKind::Open;
    QString title;
    QString filter;
    int filterIndex = 1;
    QString initialDir;
    QString defaultExt;
    QString fileName; // the preset name
    FileDialogOptions options;
};

class FakeFileDialogs : public FileDialogRunner {
public:
    // The next dialog chooses path, returned verbatim in FileDialog::fileName
    // (no default extension is added). filterIndex: the filter the user ends
    // on (1-based); 0 leaves the dialog's filterIndex as it was.
    void chooseNext(const QString& path, int filterIndex = 0);
    void cancelNext();
    qsizetype pendingResults() const { return script_.size(); }
    void setFailOnUnscripted(bool fail) { failOnUnscripted_ = fail; }

    bool run(FileDialog& dialog) override;
    void rememberFolderOf(const QString& filePath) override { remembered_.append(filePath); }
    // The files whose folders callers asked to remember, in order.
    const QStringList& remembered() const { return remembered_; }

    const QList<FileDialogRecord>& requests() const { return requests_; }
    // The last dialog shown; fails the test and returns an empty record when none was.
    const FileDialogRecord& last() const;
    qsizetype count() const { return requests_.size(); }
    void clear();

private:
    struct Result {
        std::optional<QString> path; // none: cancelled
        int filterIndex = 0;
    };
    QList<Result> script_;
    QList<FileDialogRecord> requests_;
    QStringList remembered_;
    bool failOnUnscripted_ = true;
};

// What a colour chooser was opened with.
struct ColorDialogRecord {
    std::optional<quint32> initial;
    QList<quint32> customColors;
};

class FakeColorDialog : public ColorDialogService {
public:
    void chooseNext(quint32 rgb) { script_.append(rgb); }
    void cancelNext() { script_.append(std::nullopt); }
    qsizetype pendingResults() const { return script_.size(); }
    void setFailOnUnscripted(bool fail) { failOnUnscripted_ = fail; }

    std::optional<quint32> pick(std::optional<quint32> initial, const QList<quint32>& customColors) override;

    const QList<ColorDialogRecord>& requests() const { return requests_; }
    // The last chooser shown; fails the test and returns an empty record when none was.
    const ColorDialogRecord& last() const;
    qsizetype count() const { return requests_.size(); }
    void clear();

private:
    QList<std::optional<quint32>> script_;
    QList<ColorDialogRecord> requests_;
    bool failOnUnscripted_ = true;
};

inline void PrintTo(FileDialogKind kind, std::ostream* os) {
    *os << (kind == FileDialogKind::Open ? "Open" : "Save");
}
