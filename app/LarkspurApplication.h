#pragma once
// The application object. An error that escapes an event handler is shown in a
// message box with its text, and the event loop goes on with the state intact.

#include <QApplication>

class LarkspurApplication : public QApplication {
public:
    LarkspurApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
