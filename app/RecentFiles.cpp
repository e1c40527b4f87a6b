#include "RecentFiles.h"

#include "UserFolders.h"

#include <QFileInfo>
#include <QSettings>

RecentFiles::RecentFiles() : storeFile_(UserConfigFolder() + QStringLiteral("/recent-files.ini"))
{
    const QSettings store(storeFile_, QSettings::IniFormat);
    files_ = store.value(QStringLiteral("Files")).toStringList();
    while (files_.size() > MaxCount)
        files_.removeLast();
}

void RecentFiles::Add(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    files_.removeAll(absolute);
    files_.prepend(absolute);
    while (files_.size() > MaxCount)
        files_.removeLast();
    Store();
}

void RecentFiles::Clear()
{
    files_.clear();
    Store();
}

QStringList RecentFiles::ExistingFiles() const
{
    QStringList existing;
    for (const QString& f : files_)
        if (QFileInfo(f).isFile())
            existing << f;
    return existing;
}

void RecentFiles::Store() const
{
    QSettings store(storeFile_, QSettings::IniFormat);
    store.setValue(QStringLiteral("Files"), files_);
}
