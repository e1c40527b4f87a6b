#include "MenuKeyboard.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

namespace {

QChar FirstLetter(const QAction* action)
{
    const QString text = action->text().remove(QLatin1Char('&')).trimmed();
    return text.isEmpty() ? QChar() : text.front().toUpper();
}

bool Choosable(const QAction* action)
{
    return action->isVisible() && action->isEnabled() && !action->isSeparator();
}

// Styles that highlight a menu-bar caption only while its menu is open would
// show nothing while the bar has the keyboard focus; this one draws the
// caption the keyboard is on as if its menu were open.
class KeyboardBarStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (element == CE_MenuBarItem && item && widget && widget->hasFocus() && (item->state & State_Selected)) {
            QStyleOptionMenuItem focused(*item);
            focused.state |= State_Sunken;
            QProxyStyle::drawControl(element, &focused, painter, widget);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

}  // namespace

MenuKeyboard::MenuKeyboard(QMainWindow& window) : QObject(&window), window_(window), bar_(window.menuBar())
{
    auto* style = new KeyboardBarStyle(QApplication::style()->name());
    style->setParent(bar_);
    bar_->setStyle(style);
    // Before any child sees a key: Alt+letter must reach us whichever control
    // has the focus.
    qApp->installEventFilter(this);
}

void MenuKeyboard::FocusMenuBar()
{
    // The bar's own handling of a lone Alt press does exactly this: the focus
    // goes to the bar and its first menu is highlighted until Escape.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(&window_, &press);
    QCoreApplication::sendEvent(&window_, &release);
}

bool MenuKeyboard::OpenMenuByLetter(QChar letter)
{
    for (QAction* action : bar_->actions()) {
        if (!action->isVisible() || FirstLetter(action) != letter.toUpper())
            continue;
        if (!action->isEnabled() || !action->menu())
            return false;
        bar_->setActiveAction(action);
        return true;
    }
    return false;
}

bool MenuKeyboard::ChooseItemByLetter(QMenu& menu, QChar letter)
{
    // A letter is shared when several items start with it, disabled ones too:
    // the same key must not choose at one moment and move at another only
    // because an item's state changed.
    QList<QAction*> matches;
    int sharing = 0;
    for (QAction* action : menu.actions()) {
        if (!action->isVisible() || action->isSeparator() || FirstLetter(action) != letter.toUpper())
            continue;
        ++sharing;
        if (Choosable(action))
            matches.append(action);
    }
    if (sharing == 0)
        return false;
    if (matches.isEmpty())
        return true;
    if (sharing > 1) {
        // Shared letters: each press moves to the next item with it.
        const int at = matches.indexOf(menu.activeAction());
        menu.setActiveAction(matches[(at + 1) % matches.size()]);
        return true;
    }
    // Chosen exactly as Enter on the highlighted item chooses it (a submenu opens).
    menu.setActiveAction(matches.front());
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(&menu, &enter);
    return true;
}

bool MenuKeyboard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    const QString text = key->text();
    if (auto* menu = qobject_cast<QMenu*>(watched)) {
        if ((mods == Qt::NoModifier || mods == Qt::ShiftModifier) && text.size() == 1 && text.front().isLetterOrNumber())
            return ChooseItemByLetter(*menu, text.front());
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != &window_ || QApplication::activePopupWidget() || QApplication::activeModalWidget())
        return false;
    // The bar has the focus after F10 or a lone Alt: a caption's first letter
    // opens that menu.
    if (watched == bar_ && bar_->hasFocus() && (mods == Qt::NoModifier || mods == Qt::ShiftModifier) &&
        text.size() == 1 && text.front().isLetter())
        return OpenMenuByLetter(text.front()) || true;
    if (key->key() == Qt::Key_F10 && mods == Qt::NoModifier) {
        FocusMenuBar();
        return true;
    }
    if (mods == Qt::AltModifier && key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z)
        return OpenMenuByLetter(QChar(static_cast<char16_t>(key->key())));
    return false;
}
