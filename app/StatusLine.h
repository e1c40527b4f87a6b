#pragma once
// The status bar's one panel, showing a StatusText: the connection's state,
// a command's outcome over it, and failures that stay until a command that
// succeeds clears them.

#include "StatusText.h"

#include <QString>
#include <QStringList>

class QLabel;

class StatusLine {
public:
    explicit StatusLine(QLabel& panel);

    void Set(const QString& text, bool failure = false);
    QString Text() const;
    // A status of the connection itself, which a cleared failure goes back to,
    // with more about it in its tooltip.
    void SetConnection(const QString& text, const QString& tip = QString());
    // A command succeeded: an earlier failure goes, the connection shows again.
    void ClearFailure();
    // A file the editor keeps for itself (settings, the draft) could not be
    // written: said once per file and run, not at every change.
    void SayFileFailed(const QString& file);
    // While the start-up file's outcome (or the simulator's complaint) is
    // shown, the first device scan leaves it standing.
    void HoldForStartup(bool hold) { state_.HoldForStartup(hold); }
    bool HeldForStartup() const { return state_.HeldForStartup(); }

private:
    // The panel shows what the rule holds.
    void Show();

    QLabel& panel_;
    StatusText state_;
    QStringList failedFiles_;
};
