#include "RecentFiles.h"

#include "UserFolders.h"

#include <QFileInfo>
#include <QSettings>

QString RecentFilesStore() { return UserConfigFolder() + QStringLiteral("/recent-files.ini"); }

RecentFiles::RecentFiles() : storeFile_(RecentFilesStore())
{
    if (!UserFileUsable(storeFile_))
        return;
    const QSettings store(storeFile_, QSettings::IniFormat);
    files_ = store.value(QStringLiteral("Files")).toStringList();
    while (files_.size() > MaxCount)
        files_.removeLast();
}

bool RecentFiles::Add(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    files_.removeAll(absolute);
    files_.prepend(absolute);
    while (files_.size() > MaxCount)
        files_.removeLast();
    return Store();
}

bool RecentFiles::Clear()
{
    files_.clear();
    return Store();
}

QStringList RecentFiles::ExistingFiles() const
{
    QStringList existing;
    for (const QString& f : files_)
        if (QFileInfo(f).isFile())
            existing << f;
    return existing;
}

bool RecentFiles::Store() const { return StoreUserSetting(storeFile_, QStringLiteral("Files"), files_); }
