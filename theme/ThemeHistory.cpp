#include "ThemeHistory.h"

namespace {
// A long session of small edits stays a few megabytes at most.
constexpr std::size_t MaxSteps = 1000;
}  // namespace

void ThemeHistory::Record(const std::string& name, const ThemeState& before, const ThemeState& after)
{
    if (before.colors == after.colors && before.smallDisplay == after.smallDisplay && before.document == after.document &&
        before.locked == after.locked)
        return;
    steps_.resize(next_);
    if (steps_.size() == MaxSteps)
        steps_.erase(steps_.begin());
    steps_.push_back({name, before, after});
    next_ = steps_.size();
}

std::string ThemeHistory::UndoName() const { return CanUndo() ? steps_[next_ - 1].name : std::string(); }

std::string ThemeHistory::RedoName() const { return CanRedo() ? steps_[next_].name : std::string(); }

ThemeHistory::Move ThemeHistory::Undo()
{
    const Step& step = steps_[--next_];
    return {step.before, step.before.smallDisplay != step.after.smallDisplay};
}

ThemeHistory::Move ThemeHistory::Redo()
{
    const Step& step = steps_[next_++];
    return {step.after, step.before.smallDisplay != step.after.smallDisplay};
}
