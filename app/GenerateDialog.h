#pragma once
// Edit > Generate Theme: one to three seed colours (or those a picture
// proposes), dark or light, a contrast level and a variation, with the
// current page drawn live in the generated colours. Locked slots are listed
// and kept.

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
class QSpinBox;
class SwatchButton;

class GenerateThemeDialog : public QDialog {
public:
    // `listName` names a slot as the colour list does.
    GenerateThemeDialog(QWidget* parent, const TThemeColorTable& current, const std::set<SlotId>& locked, int page,
                        bool smallDisplay, ClockSource clock, const std::function<QString(SlotId)>& listName);

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
    QSpinBox* variation = nullptr;
    QLabel* preview = nullptr;
    QLabel* problems = nullptr;

private:
    void PickSeed(int which);
    void ShowSeeds();
    // Generates from the controls and draws the page.
    void Regenerate();

    const TThemeColorTable current_;
    const std::set<SlotId> locked_;
    const int page_;
    bool small_;
    TThemeColorTable shown_{};
    TLSDrawer drawer_;
    TColor seeds_[3];
    GenerateOptions options_;
    GeneratedTheme result_;
};
