#include "app/documentrecovery.h"

#include "app/documentfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QUuid>

#include <algorithm>

namespace app {

namespace {

std::unique_ptr<QLockFile> TryLock(const QString& path)
{
    auto lock = std::make_unique<QLockFile>(path);
    // Only a lock whose process is gone is stale, however old it is: an editor may well
    // stay open for days.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        return nullptr;
    }
    return lock;
}

} // namespace

DocumentRecovery::DocumentRecovery(const QString& folder, int intervalMs,
                                   std::function<State()> current, QObject* parent)
    : QObject(parent), folder_(folder),
      id_(QUuid::createUuid().toString(QUuid::Id128).left(12)), current_(std::move(current))
{
    timer_.setSingleShot(true);
    timer_.setInterval(intervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] { WriteNow(); });
}

DocumentRecovery::~DocumentRecovery()
{
    Remove();
}

QString DocumentRecovery::PathOf(const QString& id, const char* suffix) const
{
    return QDir(folder_).filePath(id + QLatin1String(suffix));
}

QString DocumentRecovery::RecoveryFilePath() const
{
    return PathOf(id_, ".vkd");
}

bool DocumentRecovery::HasRecoveryFile() const
{
    return written_;
}

void DocumentRecovery::NoteChange(bool modified)
{
    if (!modified) {
        timer_.stop();
        Remove();
    } else if (!timer_.isActive()) {
        timer_.start();
    }
}

bool DocumentRecovery::WriteNow()
{
    const State state = current_();
    if (!state.modified) {
        Remove();
        return true;
    }
    if (!lock_) {
        if (!QDir().mkpath(folder_) || !(lock_ = TryLock(PathOf(id_, ".lock")))) {
            return false;
        }
    }
    // The name first: a document file without its name is recovered as never saved, but
    // a name without the document would recover nothing.
    QSaveFile name(PathOf(id_, ".name"));
    const bool named = name.open(QIODevice::WriteOnly) && name.write(state.fileName.toUtf8()) >= 0 &&
                       name.commit();
    const bool stored = WriteDocumentFile(RecoveryFilePath(), state.bytes).isEmpty();
    written_ = written_ || stored;
    return named && stored;
}

void DocumentRecovery::Remove()
{
    QFile::remove(RecoveryFilePath());
    QFile::remove(PathOf(id_, ".name"));
    written_ = false;
    lock_.reset();
}

std::vector<DocumentRecovery::Leftover> DocumentRecovery::TakeLeftovers()
{
    std::vector<Leftover> leftovers;
    const QFileInfoList files =
        QDir(folder_).entryInfoList({QStringLiteral("*.vkd")}, QDir::Files, QDir::Time);
    for (const QFileInfo& file : files) {
        const QString id = file.completeBaseName();
        const bool taken = std::any_of(leftoverLocks_.begin(), leftoverLocks_.end(),
                                       [&](const auto& held) { return held.first == id; });
        if (id == id_ || taken) {
            continue;
        }
        std::unique_ptr<QLockFile> lock = TryLock(PathOf(id, ".lock"));
        if (!lock) {
            continue; // another editor is running with this document
        }
        Leftover leftover{id, {}, {}, file.lastModified()};
        const DocumentFileRead read = ReadDocumentFile(file.filePath());
        leftover.bytes = read.bytes;
        QFile name(PathOf(id, ".name"));
        if (name.open(QIODevice::ReadOnly)) {
            leftover.fileName = QString::fromUtf8(name.readAll());
        }
        leftoverLocks_.emplace_back(id, std::move(lock));
        if (read.status != DocumentFileRead::Read || read.bytes.isEmpty()) {
            Forget(leftover); // nothing that could be shown
            continue;
        }
        leftovers.push_back(std::move(leftover));
    }
    return leftovers;
}

void DocumentRecovery::Forget(const Leftover& leftover)
{
    QFile::remove(PathOf(leftover.id, ".vkd"));
    QFile::remove(PathOf(leftover.id, ".name"));
    std::erase_if(leftoverLocks_, [&](const auto& held) { return held.first == leftover.id; });
}

} // namespace app
