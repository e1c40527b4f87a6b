#pragma once
// The application object. An error that escapes an event handler is shown in a
// message box with its text, and the event loop goes on with the state intact.

#include <QApplication>
#include <functional>

class LarkspurApplication : public QApplication {
public:
    LarkspurApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Shows an escaped error; tests replace it to read the text without a box.
    std::function<void(const QString& text)> reportError;
};
