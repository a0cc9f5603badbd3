#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

class QLockFile;

namespace app {

// Keeps unsaved work safe from a crash: a while after the canvas got changes that no file
// has, its document is written to a recovery file in a per-user folder, together with the
// name of the file it belongs to. A clean exit, a save or discarding the changes removes
// the recovery file; one left behind by a run that ended without cleaning up is offered at
// the next start.
//
// Every running editor writes its own recovery file and holds a lock beside it, so two
// editors never take each other's work; a lock whose process is gone is stale, and its
// recovery file is a leftover.
class DocumentRecovery : public QObject {
    Q_OBJECT

public:
    struct State {
        bool modified = false;
        QByteArray bytes;
        QString fileName;
    };
    struct Leftover {
        QString id;
        QByteArray bytes;
        QString fileName;  // the document's file, empty for one never saved
        QDateTime written; // when the recovery file was last written
    };

    // current tells the unsaved state and document at the moment of writing.
    DocumentRecovery(const QString& folder, int intervalMs, std::function<State()> current,
                     QObject* parent = nullptr);
    // A clean exit: the recovery file is removed.
    ~DocumentRecovery() override;

    // The document changed or was saved: unsaved work starts the timer unless it runs
    // already, so work is written at most one interval after its first unsaved change;
    // saved work removes the recovery file.
    void NoteChange(bool modified);
    // Writes the recovery file now (when there is unsaved work); false when it failed.
    bool WriteNow();
    bool HasRecoveryFile() const;
    QString RecoveryFilePath() const;

    // Recovery files of runs that ended without cleaning up, newest first. This editor
    // holds their locks until it forgets them or ends.
    std::vector<Leftover> TakeLeftovers();
    // Removes a leftover's files: it was recovered into this editor or declined.
    void Forget(const Leftover& leftover);

private:
    QString PathOf(const QString& id, const char* suffix) const;
    void Remove();

    QString folder_;
    QString id_;
    std::function<State()> current_;
    QTimer timer_;
    std::unique_ptr<QLockFile> lock_;
    std::vector<std::pair<QString, std::unique_ptr<QLockFile>>> leftoverLocks_;
    bool written_ = false;
};

} // namespace app
