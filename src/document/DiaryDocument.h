#pragma once
// The diary page on the whole-file tab: the file it came from, its state
// (no document, unnamed, named), the question about unsaved changes, new,
// open, save, save as and the history of the last three saved files.
//
// It works on the document editor it is given and tells the window what
// changed through signals; the window shows the name and decides the
// commands' states from state(), isBusy(), saveEnabled() and saveAsEnabled().
//
// A page keeps its own form: it is written back in the encoding, byte-order
// mark, line ending and CP932 codes it was read with (format()). A new page,
// and one made from a CP932 template, is CP932 with CR LF.
//
// A big page is read on a worker thread and put into the editor a piece at a
// time, so the window goes on painting and shows the progress; meanwhile the
// document is busy: the editor is read-only and the document's commands wait.
// A big page is saved on a worker thread while the window paints and user
// input waits.

#include "platform/FileDialogs.h"
#include "platform/Messages.h"
#include "platform/PageCodec.h"
#include "settings/AppSet.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class DiaryEditor;
class QThread;
class QTimer;

enum class DocumentState {
    None,    // no document yet: the editor shows the guide, read-only
    Unnamed, // a new document that was never saved
    Named,   // opened from, or saved to, fileName()
};
enum class AskSaveResult { Proceed, ProceedUnsaved, Cancel };
enum class DocumentSaveResult { Saved, Cancelled };

class DiaryDocument : public QObject {
    Q_OBJECT
public:
    // history: the record holding FileHistory1..3 and AlwaysOpenHtml.
    DiaryDocument(DiaryEditor& editor, MessageService& messages, FileDialog& openDialog,
                  FileDialog& saveDialog, AppSet& history, QString programFolder, QObject* parent = nullptr);
    ~DiaryDocument() override;

    DocumentState state() const { return state_; }
    bool exists() const { return state_ != DocumentState::None; }
    // The full path of a named document; empty otherwise.
    QString fileName() const { return fileName_; }
    // Whether the text was changed since it was loaded or saved (never while
    // a page is on its way in).
    bool isModified() const;
    // How Save writes the page.
    const pagecodec::PageFormat& format() const { return format_; }
    // A page is being read or put in; nothing else happens to the document
    // meanwhile.
    bool isBusy() const { return busy_; }
    // A big page is being written aside (the saving signal brackets it). The
    // window keeps painting meanwhile; nothing else happens to the document.
    bool isSaving() const { return saving_; }

    // Save and Save As follow the document's life: both on after an edit and
    // whenever the window refreshes its commands; New turns both off, an open
    // turns Save off, a save turns both off.
    bool saveEnabled() const { return exists() && saveEnabled_; }
    bool saveAsEnabled() const { return exists() && saveAsEnabled_; }
    // The window's refresh of its commands (tab change, load): both on.
    void enableSaveCommands();

    // Asks before unsaved changes are replaced; Yes saves first.
    AskSaveResult askSave();
    // New: asks first, then an empty unnamed document, from the template
    // basehtml.txt when it exists and the user wants it.
    void newDocument();
    // Open: asks first, then the shared open dialog.
    void openWithDialog();
    // Loads a file (no question; callers ask first). False when it could not
    // be read (the document is then unchanged) or the document is busy. A big
    // file goes on loading after the return; a failure is then reported
    // when it is known, and the document stays as it was.
    bool openFile(const QString& path);
    // A history entry (0..2) or, for -1, AlwaysOpenHtml: asks first, then
    // opens it or reports that it is gone.
    void openHistoryEntry(int index);
    // A project item: asks first (unsaved work is never replaced silently).
    void openProjectFile(const QString& path);
    // Recovered text (no question; callers ask first) as a modified document
    // named path, or unnamed for an empty path. A path naming a readable file
    // is opened first, so the document keeps that file's form.
    void restore(const QString& path, const QString& text);
    DocumentSaveResult save();
    DocumentSaveResult saveAs();
    // "?" stands for no name.
    void setName(const QString& name);

    // Files of more bytes than readAside are read on a worker thread; pages
    // of more characters than piece go into the editor piece characters at a
    // time (about a tenth of a second each); pages of more characters than
    // saveAside are written on a worker thread. Tests make them small.
    void setBigPageSizes(qint64 readAside, qsizetype piece, qsizetype saveAside);

Q_SIGNALS:
    void stateChanged(DocumentState state);
    void fileNameChanged(const QString& fileName);
    void modificationChanged(bool modified);
    void saveCommandsChanged();
    // A document was created or opened: the window refreshes its commands.
    void loaded();
    // The document was written to fileName(); the history has it first.
    void saved();
    // The page's encoding or line ending changed (an open, New).
    void formatChanged();
    void busyChanged(bool busy);
    // How much of a big page is in, 0 to 100.
    void loadProgress(int percent);
    // A big page is being written (on) or is written (off).
    void saving(bool on);

private:
    struct PageLoad;
    bool write(const QString& path);
    void makeEditable();
    void markLoaded();
    void markSaved();
    void setSaveCommands(bool save, bool saveAs);
    void setFormat(const pagecodec::PageFormat& format);
    void setBusy(bool busy);
    void readAside(const QString& path);
    void takePage(const QString& path, pagecodec::DecodedPage page);
    void putNextPiece();
    void abandonLoad();
    void finishOpen();

    DiaryEditor& editor_;
    MessageService& messages_;
    FileDialog& openDialog_;
    FileDialog& saveDialog_;
    AppSet& history_;
    QString programFolder_;
    DocumentState state_ = DocumentState::None;
    QString fileName_;
    bool saveEnabled_ = false;
    bool saveAsEnabled_ = false;
    pagecodec::PageFormat format_;
    bool busy_ = false;
    bool saving_ = false;
    bool working() const { return busy_ || saving_; }
    std::unique_ptr<PageLoad> load_; // a big page on its way in
    QPointer<QThread> reader_;       // reading it
    qint64 readAsideBytes_;
    qsizetype pieceCharacters_;
    qsizetype saveAsideCharacters_;
};
