#pragma once
// Undo and redo for the theme document. Every change of the colour table is one
// step holding the state before and after it; the history also remembers the
// state last opened, saved or started fresh, so the modified flag can follow
// the document as it moves back and forth.

#include "ColorModel.h"

#include <cstddef>
#include <string>
#include <vector>

struct ThemeState {
    TThemeColorTable colors{};
    bool smallDisplay = false;
};

class ThemeHistory {
public:
    // A change from `before` to `after`, named for the menu ("Edit Colour").
    // Drops whatever could have been redone. A change that changes nothing is
    // not a step.
    void Record(const std::string& name, const ThemeState& before, const ThemeState& after);

    bool CanUndo() const { return next_ > 0; }
    bool CanRedo() const { return next_ < steps_.size(); }
    // The names of the steps Undo and Redo would take; empty when there is none.
    std::string UndoName() const;
    std::string RedoName() const;

    // The state to return to, and whether the step changed the display size
    // (only then does undoing or redoing it change the display size).
    struct Move {
        ThemeState state;
        bool displayChanged;
    };
    Move Undo();
    Move Redo();

    // The state that counts as unmodified: the one opened, saved or started fresh.
    void MarkClean(const TThemeColorTable& colors) { clean_ = colors; }
    bool IsClean(const TThemeColorTable& colors) const { return colors == clean_; }

private:
    struct Step {
        std::string name;
        ThemeState before, after;
    };
    std::vector<Step> steps_;
    std::size_t next_ = 0;  // steps_[0..next_) are done
    TThemeColorTable clean_{};
};
