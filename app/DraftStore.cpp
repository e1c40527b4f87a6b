#include "DraftStore.h"

#include "FileIo.h"
#include "IniFile.h"
#include "ThemeDraft.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <QLockFile>

namespace {

QString DraftPath(const QString& folder, const QString& id) { return folder + QLatin1Char('/') + id + QStringLiteral(".lsth"); }
QString LockPath(const QString& folder, const QString& id) { return folder + QLatin1Char('/') + id + QStringLiteral(".lock"); }

// Whether the editor that owns a lock file is gone: its lock can be taken.
// The lock names its process, which the system can tell is running or not.
bool OwnerGone(const QString& lockPath)
{
    QLockFile probe(lockPath);
    probe.setStaleLockTime(0);  // never stale by age, only by a dead owner
    if (!probe.tryLock(0))
        return false;
    probe.unlock();
    return true;
}

}  // namespace

DraftStore::DraftStore(const QString& folder) : folder_(folder)
{
    static int opened = 0;
    id_ = QStringLiteral("draft-%1-%2-%3")
              .arg(QCoreApplication::applicationPid())
              .arg(QDateTime::currentMSecsSinceEpoch())
              .arg(++opened);
    lock_ = std::make_unique<QLockFile>(LockPath(folder_, id_));
    lock_->setStaleLockTime(0);
    lock_->tryLock(0);
}

DraftStore::~DraftStore()
{
    Remove();
    lock_->unlock();
}

bool DraftStore::Write(const ThemeDraft& draft)
{
    return WriteFileAtomically(DraftPath(folder_, id_).toStdString(), DraftText(draft));
}

bool DraftStore::Locked() const { return lock_->isLocked(); }

QString DraftStore::DraftFile() const { return DraftPath(folder_, id_); }

void DraftStore::Remove() { QFile::remove(DraftPath(folder_, id_)); }

bool DraftStore::FindOrphan(ThemeDraft& draft)
{
    orphanId_.clear();
    QDateTime newest;
    const QFileInfoList drafts = QDir(folder_).entryInfoList({QStringLiteral("draft-*.lsth")}, QDir::Files);
    for (const QFileInfo& info : drafts) {
        const QString id = info.completeBaseName();
        if (id == id_)
            continue;
        // An editor that is running holds its lock; a lock nobody holds, or
        // none at all, means the editor is gone.
        if (!OwnerGone(LockPath(folder_, id)))
            continue;
        if (orphanId_.isEmpty() || info.lastModified() > newest) {
            orphanId_ = id;
            newest = info.lastModified();
        }
    }
    // Locks of editors that ended without a draft to leave.
    for (const QFileInfo& info : QDir(folder_).entryInfoList({QStringLiteral("draft-*.lock")}, QDir::Files)) {
        const QString id = info.completeBaseName();
        if (id != id_ && !QFileInfo::exists(DraftPath(folder_, id)))
            OwnerGone(info.filePath());  // taking a stale lock removes it
    }
    if (orphanId_.isEmpty())
        return false;
    orphanWritten_ = newest;
    std::string bytes;
    if (ReadFileLimited(DraftPath(folder_, orphanId_).toStdString(), MaxIniFileSize, bytes) != FileReadStatus::Ok ||
        !ReadDraftText(bytes, draft)) {
        qWarning("%s holds no theme; it is removed", qPrintable(QDir::toNativeSeparators(DraftPath(folder_, orphanId_))));
        DiscardOrphan();  // damaged: nothing to offer
        return false;
    }
    return true;
}

void DraftStore::DiscardOrphan()
{
    if (orphanId_.isEmpty())
        return;
    QFile::remove(DraftPath(folder_, orphanId_));
    QFile::remove(LockPath(folder_, orphanId_));
    orphanId_.clear();
}
