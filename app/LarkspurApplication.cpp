#include "LarkspurApplication.h"

#include <QMessageBox>
#include <exception>

LarkspurApplication::LarkspurApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool LarkspurApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        QMessageBox::critical(activeWindow(), applicationDisplayName(), QString::fromLocal8Bit(e.what()));
    } catch (...) {
        QMessageBox::critical(activeWindow(), applicationDisplayName(), QStringLiteral("An unknown error occurred"));
    }
    return false;
}
