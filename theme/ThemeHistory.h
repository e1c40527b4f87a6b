#pragma once
// Undo and redo for the theme document. Every change of the colour table, the
// locks, the display size it brings along, or the document it belongs to (New,
// Open, a download) is one step holding the state before and after it.

#include "ColorModel.h"

#include <cstddef>
#include <string>
#include <vector>

struct ThemeState {
    TThemeColorTable colors{};
    bool smallDisplay = false;
    // The locked slots, ascending: locking is a change like any other.
    std::vector<int> locked;
    // Which document the colours belong to: its file, the bytes last seen in
    // that file and the colours last saved there are kept per document.
    int document = 0;
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

private:
    struct Step {
        std::string name;
        ThemeState before, after;
    };
    std::vector<Step> steps_;
    std::size_t next_ = 0;  // steps_[0..next_) are done
};
