#pragma once
// The window's modal questions, behind one seam so tests can answer them. The
// program always uses QtEditorDialogs, which shows the real dialogs.

#include "ColorModel.h"

#include <QDateTime>
#include <QRect>
#include <QString>
#include <functional>
#include <initializer_list>

class QScreen;
class QWidget;

// Where a dialog of the window goes: beside `keepVisible` (in global
// coordinates) where the screen has room, so what it is about stays in view.
struct DialogPlace {
    QRect keepVisible;
    QRect keepVisibleAtLeast;  // tried when no side of keepVisible has room
};

// The colour dialog's question: its title, and a call for every candidate
// colour while the user chooses.
struct ColorQuestion {
    QString title;
    DialogPlace place;
    std::function<void(TColor candidate)> candidate;
};

// Where an exported picture goes by default.
struct ExportQuestion {
    QString title;
    QString suggestedPath;
};

// A file for the library's commands: a palette to import or export, a theme
// to compare with.
struct FileQuestion {
    QString title;
    QString filter;  // as Qt's file dialog takes it
    QString suggestedPath;
    bool save = false;
    bool folder = false;  // a folder to open, not a file
};

// The draft a crashed editor left: which theme, and when it was last written.
struct DraftQuestion {
    QString themeName;
    QDateTime written;
};

class EditorDialogs {
public:
    virtual ~EditorDialogs() = default;
    // True and the chosen colour, or false when cancelled.
    virtual bool PickColor(QWidget* parent, TColor initial, const ColorQuestion& question, TColor& chosen) = 0;
    // "Theme was not saved. Continue?"; true for Yes.
    virtual bool ConfirmContinue(QWidget* parent) = 0;
    // A file name, or empty when cancelled. lastFile is where the dialog opens.
    virtual QString OpenThemeFile(QWidget* parent, const QString& lastFile) = 0;
    virtual QString SaveThemeFile(QWidget* parent, const QString& lastFile) = 0;
    // "Restore the unsaved theme from the last session?"; true for Yes.
    virtual bool ConfirmRestoreDraft(QWidget* parent, const DraftQuestion& draft) = 0;
    // "The theme file was changed by another program. Overwrite it?"; true for Yes.
    virtual bool ConfirmOverwriteChanged(QWidget* parent) = 0;
    // A PNG file to export to, or empty when cancelled.
    virtual QString ExportImageFile(QWidget* parent, const ExportQuestion& question) = 0;
    // A file name, or empty when cancelled; Qt's own file dialog unless a
    // test answers.
    virtual QString AskFile(QWidget* parent, const FileQuestion& question);
    // "Import this palette?" with what it will do; true for Yes.
    virtual bool ConfirmImport(QWidget* parent, const QString& details);
};

class QtEditorDialogs : public EditorDialogs {
public:
    bool PickColor(QWidget* parent, TColor initial, const ColorQuestion& question, TColor& chosen) override;
    bool ConfirmContinue(QWidget* parent) override;
    QString OpenThemeFile(QWidget* parent, const QString& lastFile) override;
    QString SaveThemeFile(QWidget* parent, const QString& lastFile) override;
    bool ConfirmRestoreDraft(QWidget* parent, const DraftQuestion& draft) override;
    bool ConfirmOverwriteChanged(QWidget* parent) override;
    QString ExportImageFile(QWidget* parent, const ExportQuestion& question) override;
};

// Moves a top-level window beside place.keepVisible on its screen: right,
// left, below or above, whichever has room first; else beside
// place.keepVisibleAtLeast; else as far inside the screen as it goes.
void PlaceBeside(QWidget& window, const DialogPlace& place);

// A size for a window that is to stand beside one of `keeps` (the first
// with room) on the owner's screen: `wanted` where there is room; else as
// wide as the room on one side, or as tall as the room above or below,
// but not below `least`; never larger than the screen. The owner's frame
// tells how large the window manager's will be.
QSize SizeForRoomBeside(const QWidget& owner, QSize wanted, QSize least, std::initializer_list<QRect> keeps);

// A top-level window's outer rectangle, the window manager's frame included.
// QWidget keeps its own copy of the frame and refreshes it only on a move or
// a resize, so a frame that comes later is missed there; the platform window
// asks each time.
QRect OuterFrame(const QWidget& window);

// Moves a top-level window so that its outer rectangle starts at topLeft.
void MoveFrameTo(QWidget& window, QPoint topLeft);

// Centres a top-level window on the screen, by its frame where that is known.
void CentreOnScreen(QWidget& window, QScreen& screen);
