#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <csignal>
#include <functional>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

// Real situations in which writing a file fails. Each case prepares a target path whose
// old file holds oldBytes (when one can exist) and runs the save inside its own
// conditions, so that the save meets the failure the way a user's would.
struct SaveFailure {
    std::string name;
    // Prepares the case inside dir and returns the target path.
    std::function<QString(const QDir& dir, const QByteArray& oldBytes)> prepare;
    // Runs save under the case's conditions.
    std::function<void(const std::function<void()>& save)> within;
};

inline void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
}

inline QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The process gives up its superuser rights for the call (the superuser may write into
// any folder); an ordinary user keeps its own.
inline void AsOrdinaryUser(const std::function<void()>& run)
{
    const bool root = geteuid() == 0;
    if (root && seteuid(65534) != 0) {
        return;
    }
    run();
    if (root && seteuid(0) != 0) {
        std::abort();
    }
}

// Files may grow to no more than limit bytes for the call, as on a full disk; the signal
// that would end the process is ignored so that the write reports the failure instead.
inline void WithFileSizeLimit(rlim_t limit, const std::function<void()>& run)
{
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit tight = saved;
    tight.rlim_cur = limit;
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &tight);
    run();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
}

inline std::vector<SaveFailure> SaveFailures()
{
    const auto plain = [](const std::function<void()>& save) { save(); };
    return {
        {"a folder that may not be written",
         [](const QDir& dir, const QByteArray& oldBytes) {
             dir.mkdir(QStringLiteral("locked"));
             const QString target = dir.filePath(QStringLiteral("locked/plan.vkd"));
             WriteBytes(target, oldBytes);
             QFile::setPermissions(dir.filePath(QStringLiteral("locked")),
                                   QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                       QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
             return target;
         },
         AsOrdinaryUser},
        {"a folder where the file should be",
         [](const QDir& dir, const QByteArray&) {
             dir.mkpath(QStringLiteral("plan.vkd/inside"));
             return dir.filePath(QStringLiteral("plan.vkd"));
         },
         plain},
        {"a full disk",
         [](const QDir& dir, const QByteArray& oldBytes) {
             const QString target = dir.filePath(QStringLiteral("plan.vkd"));
             WriteBytes(target, oldBytes);
             return target;
         },
         [](const std::function<void()>& save) { WithFileSizeLimit(16, save); }},
    };
}
