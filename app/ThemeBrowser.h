#pragma once
// File > Browse Themes: every *.lsth of a folder as a picture of one page,
// drawn off the window's thread and kept per file, size, time, page and
// display size; filtered by name, sorted by name or date, redrawn when the
// folder changes. The folder is only read.

#include "DrawerClock.h"

#include <QCache>
#include <QDialog>
#include <QHash>
#include <QIcon>
#include <QImage>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class QComboBox;
class QFileSystemWatcher;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QThreadPool;
class QTimer;

class ThemeBrowser : public QDialog {
public:
    // `open` is asked to open a theme (Enter or a double-click), `compare`
    // to hold one beside the document, `pickFolder` to choose another folder
    // (empty: cancelled).
    ThemeBrowser(QWidget* parent, std::function<void(const QString& file)> open,
                 std::function<void(const QString& file)> compare,
                 std::function<QString(const QString& current)> pickFolder);
    ~ThemeBrowser() override;

    // Shows the folder at this page and display size; pictures already drawn
    // for a file that has not changed are not drawn again.
    void Show(const QString& folder, int page, bool smallDisplay, const ClockSource& clock);
    QString Folder() const { return folder_; }
    // Thumbnails still to be listed or drawn.
    int Pending() const { return pending_ + int(toAdd_.size() - added_); }
    // The picture shown for a file, a pixel for each of the device screen's;
    // null until it is drawn (or for no theme).
    QImage PictureOf(const QString& path) const { return shown_.value(path); }

    QListWidget* list = nullptr;
    QLineEdit* filter = nullptr;
    QComboBox* pageChooser = nullptr;
    QComboBox* sort = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Key {
        QString path;
        qint64 size;
        qint64 modified;  // the system's own ticks
        int page;
        bool small;
        bool operator==(const Key& o) const
        {
            return path == o.path && size == o.size && modified == o.modified && page == o.page && small == o.small;
        }
        friend size_t qHash(const Key& k, size_t seed = 0)
        {
            return qHash(k.path, seed) ^ qHash(k.modified) ^ size_t(k.page * 2 + k.small);
        }
    };
    struct Entry {
        QImage picture;  // compact; null for a file that is no theme
        QString reason;
    };
    // A picture a worker drew, waiting for the window's thread.
    struct Drawn {
        Key key;
        Entry entry;
        int generation;
    };

    // A theme file of the folder as it was listed.
    struct Listed {
        QString path;  // every byte kept (see FilePaths.h)
        QString name;  // shown: its name without ".lsth", bytes that are not UTF-8 as \xNN
        qint64 size;
        qint64 modified;
    };
    // The folder's theme files, in the order chosen.
    std::vector<Listed> ListThemes() const;
    void Rescan();
    // After a change in the folder: a file added or removed is a new look at
    // the whole folder; a file rewritten is drawn again alone.
    void Refresh();
    void AddSome();
    // The item's picture, from the store or drawn anew for the file as listed.
    void Draw(QListWidgetItem* item, const Listed& file);
    void ApplyFilter();
    // Whether the filter field lets a theme of this name be seen.
    bool Passes(const QString& name) const;
    void ShowLarge(QListWidgetItem* item);
    void Place(QListWidgetItem* item, const Entry& entry);
    // Takes what the workers drew, a few milliseconds' worth at a time, so
    // the window answers between.
    void TakeDrawn();
    // What an item shows until its picture is drawn.
    QIcon Blank() const;
    // Pixels of this screen a picture pixel takes: whole, as the preview's zoom.
    int Factor() const;
    // The picture as it is painted, each pixel `factor` x `factor` pixels of this screen.
    const QImage* OnScreen(const QString& path, int factor) const;

    std::function<void(const QString&)> open_;
    std::function<void(const QString&)> compare_;
    std::function<QString(const QString&)> pickFolder_;
    QString folder_;
    int page_ = 0;
    bool small_ = false;
    ClockSource clock_;
    QLabel* folderLabel_ = nullptr;
    QFileSystemWatcher* watcher_ = nullptr;
    std::unique_ptr<QThreadPool> pool_;
    // Every picture drawn this run, up to 256 MB (some 3,400 of them); past
    // that the least recently used is drawn again when it is needed.
    QCache<Key, Entry> cache_;
    QHash<QString, QListWidgetItem*> items_;  // by path, of the scan shown
    QHash<QString, Key> drawnAs_;             // by path: the file as its item shows it
    QHash<QString, QImage> shown_;            // the pictures drawn so far, by path
    // The last pictures painted, enlarged; a few screenfuls' worth, so a
    // large folder at a high scale keeps one small copy of each picture.
    mutable QCache<QString, QImage> onScreen_;

    // Each scan's number: a picture drawn for an older one is still kept,
    // but placed only where its item stands.
    int generation_ = 0;
    int pending_ = 0;
    std::mutex drawnLock_;
    std::vector<Drawn> drawn_;
    QTimer* take_ = nullptr;
    // The folder's files, listed a few at a time.
    std::vector<Listed> toAdd_;
    std::size_t added_ = 0;
    QTimer* add_ = nullptr;
    QIcon blank_;
    QString current_;
};
