#pragma once
// Drafts of an unsaved theme, so a crash loses nothing. Each running editor
// holds a lock on a file of its own in the user's state folder and writes its
// draft beside it; a draft whose lock nobody holds was left by an editor that
// did not end cleanly, and can be offered back on the next start.

#include "ThemeDocument.h"

#include <QDateTime>
#include <QString>
#include <memory>
#include <string>

using ThemeDraft = ThemeDraftContent;

class QLockFile;

class DraftStore {
public:
    // Takes this editor's own lock in `folder`.
    explicit DraftStore(const QString& folder);
    ~DraftStore();

    // Whether this editor holds its lock; without it a second editor would
    // take this one's draft for an orphan.
    bool Locked() const;
    QString DraftFile() const;
    // Replaces this editor's draft atomically; false when it could not be written.
    bool Write(const ThemeDraft& draft);
    void Remove();

    // The newest draft of an editor that is no longer running, if any. The
    // draft stays until Discard.
    bool FindOrphan(ThemeDraft& draft);
    // When the draft FindOrphan returned was last written.
    QDateTime OrphanWritten() const { return orphanWritten_; }
    // Deletes the orphan FindOrphan returned, with its lock.
    void DiscardOrphan();

private:
    QString folder_;
    QString id_;
    std::unique_ptr<QLockFile> lock_;
    QString orphanId_;
    QDateTime orphanWritten_;
};
