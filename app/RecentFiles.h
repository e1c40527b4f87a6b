#pragma once
// The theme files last opened or saved, newest first, kept in the user's
// configuration folder.

#include <QString>
#include <QStringList>

QString RecentFilesStore();

class RecentFiles {
public:
    static constexpr int MaxCount = 8;

    RecentFiles();
    // Moves the file to the front of the list (paths compared as absolute).
    // Each change is written at once; false when it could not be.
    bool Add(const QString& path);
    bool Clear();
    // The listed files that still exist, newest first.
    QStringList ExistingFiles() const;

private:
    bool Store() const;
    QString storeFile_;
    QStringList files_;
};
