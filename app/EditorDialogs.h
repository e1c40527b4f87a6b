#pragma once
// The window's modal questions, behind one seam so tests can answer them. The
// program always uses QtEditorDialogs, which shows the real dialogs.

#include "ColorModel.h"

#include <QString>

class QWidget;

class EditorDialogs {
public:
    virtual ~EditorDialogs() = default;
    // True and the chosen colour, or false when cancelled.
    virtual bool PickColor(QWidget* parent, TColor initial, TColor& chosen) = 0;
    // "Theme was not saved. Continue?"; true for Yes.
    virtual bool ConfirmContinue(QWidget* parent) = 0;
    // A file name, or empty when cancelled. lastFile is where the dialog opens.
    virtual QString OpenThemeFile(QWidget* parent, const QString& lastFile) = 0;
    virtual QString SaveThemeFile(QWidget* parent, const QString& lastFile) = 0;
    // "Restore the unsaved theme from the last session?"; true for Yes.
    virtual bool ConfirmRestoreDraft(QWidget* parent) = 0;
    // "The theme file was changed by another program. Overwrite it?"; true for Yes.
    virtual bool ConfirmOverwriteChanged(QWidget* parent) = 0;
    // A PNG file to export to, or empty when cancelled.
    virtual QString ExportImageFile(QWidget* parent, const QString& title) = 0;
};

class QtEditorDialogs : public EditorDialogs {
public:
    bool PickColor(QWidget* parent, TColor initial, TColor& chosen) override;
    bool ConfirmContinue(QWidget* parent) override;
    QString OpenThemeFile(QWidget* parent, const QString& lastFile) override;
    QString SaveThemeFile(QWidget* parent, const QString& lastFile) override;
    bool ConfirmRestoreDraft(QWidget* parent) override;
    bool ConfirmOverwriteChanged(QWidget* parent) override;
    QString ExportImageFile(QWidget* parent, const QString& title) override;
};
