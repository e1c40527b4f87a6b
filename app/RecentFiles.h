#pragma once
// The theme files last opened or saved, newest first, kept in the user's
// configuration folder.

#include <QString>
#include <QStringList>

class RecentFiles {
public:
    static constexpr int MaxCount = 8;

    RecentFiles();
    // Moves the file to the front of the list (paths compared as absolute).
    void Add(const QString& path);
    void Clear();
    // The listed files that still exist, newest first.
    QStringList ExistingFiles() const;

private:
    void Store() const;
    QString storeFile_;
    QStringList files_;
};
