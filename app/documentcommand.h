#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

namespace figures {
class FigureWindow;
}

namespace app {

class DocumentPrompts;

// New, open and save of the canvas's document, and what the window needs to know about it:
// the current file name (empty until the first open or save; new keeps it) and whether the
// canvas holds changes that no file has. Nothing is lost silently: unsaved changes are
// offered for saving before new, open and closing; failed reads and writes are reported
// and leave both the canvas and the file on disk as they were.
class DocumentCommand : public QObject {
    Q_OBJECT

public:
    enum Kind { kSave = 1, kOpen = 2, kNew = 3 };
    // Hands whole document bytes to the canvas; false when the document is damaged and
    // only the views read before the damage were taken.
    using Loader = std::function<bool(const QByteArray&)>;

    DocumentCommand(figures::FigureWindow& canvas, DocumentPrompts& prompts, Loader load,
                    QObject* parent = nullptr);

    DocumentPrompts& Prompts() { return *prompts_; }
    void SetPrompts(DocumentPrompts& prompts) { prompts_ = &prompts; }

    // The menu's and toolbar's entry: kSave, kOpen or kNew; other kinds do nothing.
    void Run(int kind);
    // True when the canvas was emptied.
    bool New();
    // Open through the file dialog; true when a document was opened.
    bool Open();
    // Save to the current file after asking, or to a chosen one; true when written.
    bool Save();
    // Save to a chosen file; true when written.
    bool SaveAs();
    // Opens the file at path (command line, dropped file, recent list) after offering to
    // save unsaved changes; true when the canvas shows it.
    bool OpenFile(const QString& path);
    // Shows the file's document without naming it the current file: the sample at start.
    void ShowUnnamed(const QString& path);
    // Shows bytes kept from an unsaved session as unsaved changes to fileName.
    void ShowRecovered(const QByteArray& bytes, const QString& fileName);
    // Offers to save unsaved changes: true when the caller may go on (saved, discarded
    // or nothing to save), false when the user cancelled or the save failed.
    bool AskToSaveChanges();

    QString FileName() const { return fileName_; }
    bool IsModified() const { return modified_; }
    // Compares the canvas with the document last opened or saved; call it after every
    // change of the canvas's document.
    void Reassess();

signals:
    // The file name or the unsaved state changed.
    void stateChanged();
    // A file was opened or saved under this name (for the recent-files list).
    void fileUsed(const QString& path);
    // Opening this file failed.
    void fileFailed(const QString& path);

private:
    bool LoadFile(const QString& path, bool named);
    bool WriteTo(const QString& path);
    bool ConfirmOverwrite();
    QString ChooseSaveName();
    void SetBaseline(const QByteArray& bytes);

    figures::FigureWindow& canvas_;
    DocumentPrompts* prompts_;
    Loader load_;
    QString fileName_;
    // The canvas's document as last opened, saved or emptied: the canvas differs from
    // it exactly when there are unsaved changes.
    QByteArray baseline_;
    bool modified_ = false;
    // The current file was read only in part: overwriting it loses what was not read.
    bool incomplete_ = false;
    bool loading_ = false;
};

} // namespace app
