#pragma once
// Display > Check Legibility: a window of its own beside the editor, not a
// dialog over it. It lists every pair the session finds hard to read at the
// display size shown, follows every change, shows a pair on its page at a
// double-click, and mends the chosen pair or all of them, each as one step.

#include <QDialog>

class EditorSession;
class TfrmMain;

class LegibilityWindow : public QDialog {
public:
    LegibilityWindow(TfrmMain& form, EditorSession& session);

    // Shown (placed beside the editor first), raised and filled.
    void Open();
    // The rows for the theme and display size as they are, while shown.
    void Refresh();

private:
    TfrmMain& form_;
    EditorSession& session_;
};
