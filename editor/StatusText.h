#pragma once
// The status bar's one panel, as a rule: the connection's state, a
// command's outcome over it, and failures that stay until a command that
// succeeds clears them. The window and the browser edition show what this
// holds.

#include <string>

class StatusText {
public:
    void Set(std::string text, bool failure = false);
    // A status of the connection itself, which a cleared failure goes back
    // to, with more about it in its tooltip.
    void SetConnection(std::string text, std::string tip = {});
    // A command succeeded: an earlier failure goes, the connection shows again.
    void ClearFailure();
    // While the start-up file's outcome (or the simulator's complaint) is
    // shown, the first device scan leaves it standing.
    void HoldForStartup(bool hold) { holdStartup_ = hold; }
    bool HeldForStartup() const { return holdStartup_; }

    const std::string& Text() const { return text_; }
    bool Failure() const { return failure_; }
    // The connection's tooltip goes with its text; a failure, which may be
    // longer than the line is wide, is its own tooltip.
    std::string Tip() const { return text_ == connection_ ? tip_ : failure_ ? text_ : std::string(); }

private:
    std::string text_ = "Disconnected";
    std::string connection_ = "Disconnected";
    std::string tip_;
    bool failure_ = false;
    bool holdStartup_ = false;
};
