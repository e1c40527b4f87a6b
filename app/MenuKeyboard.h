#pragma once
// Keyboard access to a menu bar whose captions carry no access-key marks, the
// way the original platform offers it: Alt plus a menu's first letter opens
// it, F10 and a lone Alt press put the focus on the bar, where a caption's
// first letter opens its menu, and inside an open menu an item's first letter
// chooses it (letters shared by several items, enabled or not, move between
// them instead, and Enter chooses).

#include <QObject>

class QMainWindow;
class QMenu;
class QMenuBar;

class MenuKeyboard : public QObject {
public:
    // Serves the window's menu bar and every menu on it, also those added later.
    explicit MenuKeyboard(QMainWindow& window);

    // Puts the focus on the menu bar with its first menu highlighted.
    void FocusMenuBar();
    // Opens the menu of the bar whose caption starts with `letter`; false when
    // none does or that menu is disabled.
    bool OpenMenuByLetter(QChar letter);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool ChooseItemByLetter(QMenu& menu, QChar letter);

    QMainWindow& window_;
    QMenuBar* bar_;
};
