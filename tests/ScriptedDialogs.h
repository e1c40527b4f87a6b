#pragma once
// Answers the window's questions as a test says, never showing a dialog.

#include "EditorDialogs.h"

class ScriptedDialogs : public EditorDialogs {
public:
    bool pickResult = true;
    TColor pickColor = MakeColor(200, 100, 50);
    int pickCalls = 0;
    bool confirmResult = false;
    int confirmCalls = 0;
    QString openResult, saveResult;
    int saveCalls = 0;

    bool PickColor(QWidget*, TColor, TColor& chosen) override
    {
        ++pickCalls;
        chosen = pickColor;
        return pickResult;
    }
    bool ConfirmContinue(QWidget*) override
    {
        ++confirmCalls;
        return confirmResult;
    }
    QString OpenThemeFile(QWidget*, const QString&) override { return openResult; }
    bool overwriteResult = true;
    int overwriteCalls = 0;
    bool ConfirmOverwriteChanged(QWidget*) override
    {
        ++overwriteCalls;
        return overwriteResult;
    }
    QString exportResult;
    QString ExportImageFile(QWidget*, const QString&) override { return exportResult; }
    bool restoreResult = false;
    int restoreCalls = 0;
    bool ConfirmRestoreDraft(QWidget*) override
    {
        ++restoreCalls;
        return restoreResult;
    }
    QString SaveThemeFile(QWidget*, const QString&) override
    {
        ++saveCalls;
        return saveResult;
    }
};
