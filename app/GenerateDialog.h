#pragma once
// Edit > Generate Theme: one to three seed colours (or those a picture
// proposes) in their roles (hero, second, third; swapped with a button or
// by dragging one seed onto another), a style and a vividness, dark or
// light, a contrast level and a variation, with a page drawn live at both
// display sizes in the generated colours (Page Up and Page Down turn the
// pages). Locked slots are listed and kept.

#include "ColorModel.h"
#include "ThemeGenerator.h"
#include "Unit2.h"

#include <QDialog>

#include <functional>
#include <set>

class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;
class QSlider;
class QSpinBox;
class SwatchButton;

class GenerateThemeDialog : public QDialog {
public:
    // `listName` names a slot as the colour list does.
    // The preview starts at `page`, at both display sizes.
    GenerateThemeDialog(QWidget* parent, const TThemeColorTable& current, const std::set<SlotId>& locked, int page,
                        ClockSource clock, const std::function<QString(SlotId)>& listName);

    const GenerateOptions& Options() const { return options_; }
    const GeneratedTheme& Result() const { return result_; }
    // Takes the seeds a picture proposes; false with the reason when it
    // cannot be read.
    bool TakeSeedsFromPicture(const QString& file, QString& error);

    // The controls, for the window's tests.
    SwatchButton* seedButtons[3] = {};
    QCheckBox* seedUsed[3] = {};
    QRadioButton* dark = nullptr;
    QRadioButton* light = nullptr;
    QComboBox* contrast = nullptr;
    QComboBox* style = nullptr;
    QSlider* vividness = nullptr;
    QSpinBox* variation = nullptr;
    QComboBox* pageChooser = nullptr;
    QLabel* preview = nullptr;       // the page at 240x320
    QLabel* previewSmall = nullptr;  // the page at 80x160
    QLabel* problems = nullptr;

    // The seeds of two roles change places.
    void SwapSeeds(int a, int b);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void PickSeed(int which);
    void ShowSeeds();
    void DrawPages();
    // Generates from the controls and draws the page.
    void Regenerate();

    const TThemeColorTable current_;
    const std::set<SlotId> locked_;
    TThemeColorTable shown_{};
    ClockSource clock_;
    std::array<TColor, 3> seeds_;
    GenerateOptions options_;
    GeneratedTheme result_;
    // A seed being dragged onto another: its role, and where the press was.
    int dragFrom_ = -1;
    QPoint pressedAt_;
};
