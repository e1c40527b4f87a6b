#pragma once
// A key held down anywhere in a window, whichever control has the focus:
// a call when it goes down and one when it comes up, auto-repeat aside.

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <functional>

// Calls back while a key is held anywhere in a window, whichever control
// has the focus. The window may bring helpers of its own (a window that
// says which key to hold works when it has the focus too); the key is
// taken from those only.
class KeyHold : public QObject {
public:
    using Helpers = std::function<bool(const QWidget* window)>;

    KeyHold(QWidget& window, int key, std::function<void(bool held)> changed, Helpers helpers = {})
        : QObject(&window), window_(window), key_(key), changed_(std::move(changed)), helpers_(std::move(helpers))
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (key->key() != key_ || !widget)
            return false;
        const QWidget* window = widget->window();
        if (window != &window_ && !(helpers_ && helpers_(window)))
            return false;
        // Each key event passes once per widget it is offered to; the first does it.
        if (!key->isAutoRepeat() && (event->type() == QEvent::KeyPress) != held_) {
            held_ = event->type() == QEvent::KeyPress;
            changed_(held_);
        }
        return true;
    }

private:
    QWidget& window_;
    int key_;
    std::function<void(bool)> changed_;
    Helpers helpers_;
    bool held_ = false;
};
