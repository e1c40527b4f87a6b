#pragma once
// The window of a compared theme: every slot whose colour differs, with both
// swatches, and Take / Take All to copy the chosen rows, or all of them, as
// one step (locked slots are not taken).

#include <QDialog>

class EditorSession;
class TfrmMain;

class CompareWindow : public QDialog {
public:
    CompareWindow(TfrmMain& form, EditorSession& session);

    // Shown for the session's compared file, beside the editor.
    void ShowFile();
    // The rows for the theme as it is.
    void Refresh();

private:
    void Take(bool all);

    TfrmMain& form_;
    EditorSession& session_;
};
