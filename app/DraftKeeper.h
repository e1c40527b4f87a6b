#pragma once
// The draft that keeps an unsaved theme safe from a crash: written shortly
// after each change (at most once a second), as the session says it is due,
// removed once the theme is saved, and offered back on the next start when an
// editor did not end cleanly.

#include <QObject>
#include <memory>

class DraftStore;
class EditorSession;
class QTimer;
class TfrmMain;

class DraftKeeper : public QObject {
public:
    DraftKeeper(TfrmMain& form, EditorSession& session);
    ~DraftKeeper() override;

    // The document changed: a draft is due within the second.
    void Changed();
    // Writes (or removes) the draft now instead of within the second.
    void WriteNow();
    // Asks whether to restore the draft an editor left behind, if any.
    void OfferRestore();
    // A clean exit leaves no draft behind.
    void Close();

private:
    TfrmMain& form_;
    EditorSession& session_;
    std::unique_ptr<DraftStore> store_;
    QTimer* timer_ = nullptr;
};
