#include "DraftStore.h"

#include "FileIo.h"
#include "IniFile.h"
#include "ThemeFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <sys/file.h>
#include <unistd.h>

namespace {

const char* const DraftSection = "Draft";
const char* const DraftFileKey = "File";

QString DraftPath(const QString& folder, const QString& id) { return folder + QLatin1Char('/') + id + QStringLiteral(".lsth"); }
QString LockPath(const QString& folder, const QString& id) { return folder + QLatin1Char('/') + id + QStringLiteral(".lock"); }

// An exclusive lock on an open file, held until it is closed; never waits.
bool TryLock(QFile& file) { return ::flock(file.handle(), LOCK_EX | LOCK_NB) == 0; }

}  // namespace

DraftStore::DraftStore(const QString& folder) : folder_(folder)
{
    static int opened = 0;
    id_ = QStringLiteral("draft-%1-%2-%3")
              .arg(QCoreApplication::applicationPid())
              .arg(QDateTime::currentMSecsSinceEpoch())
              .arg(++opened);
    lock_.setFileName(LockPath(folder_, id_));
    if (lock_.open(QIODevice::WriteOnly))
        TryLock(lock_);
}

DraftStore::~DraftStore()
{
    Remove();
    lock_.close();
    QFile::remove(lock_.fileName());
}

bool DraftStore::Write(const ThemeDraft& draft)
{
    TPackedTheme packed{};
    PackTheme(draft.colors, packed);
    // The file name is percent-encoded: a name may hold anything, a line only text.
    IniDocument head;
    head.WriteString(DraftSection, DraftFileKey,
                     QUrl::toPercentEncoding(QString::fromStdString(draft.fileName)).toStdString());
    return WriteFileAtomically(DraftPath(folder_, id_).toStdString(), ThemeFileContent(head.Bytes(), packed, draft.smallDisplay));
}

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
        QFile lock(LockPath(folder_, id));
        if (lock.open(QIODevice::ReadWrite) && !TryLock(lock))
            continue;
        if (orphanId_.isEmpty() || info.lastModified() > newest) {
            orphanId_ = id;
            newest = info.lastModified();
        }
    }
    // Locks of editors that ended without a draft to leave.
    for (const QFileInfo& info : QDir(folder_).entryInfoList({QStringLiteral("draft-*.lock")}, QDir::Files)) {
        const QString id = info.completeBaseName();
        QFile lock(info.filePath());
        if (id != id_ && !QFileInfo::exists(DraftPath(folder_, id)) && lock.open(QIODevice::ReadWrite) && TryLock(lock))
            QFile::remove(info.filePath());
    }
    if (orphanId_.isEmpty())
        return false;
    const std::string path = DraftPath(folder_, orphanId_).toStdString();
    TPackedTheme packed{};
    std::string ignored;
    bool small = false;
    if (!LoadTheme(path, packed, [&](bool s) { small = s; }, ignored)) {
        DiscardOrphan();  // damaged: nothing to offer
        return false;
    }
    std::string bytes;
    ReadFileLimited(path, MaxIniFileSize, bytes);
    const std::string name = IniDocument(bytes).ReadString(DraftSection, DraftFileKey, "");
    UnpackTheme(packed, draft.colors);
    draft.smallDisplay = small;
    draft.fileName = QUrl::fromPercentEncoding(QByteArray::fromStdString(name)).toStdString();
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
