#include "LarkspurApplication.h"

#include <QMessageBox>
#include <exception>

LarkspurApplication::LarkspurApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    reportError = [this](const QString& text) { QMessageBox::critical(activeWindow(), applicationDisplayName(), text); };
}

bool LarkspurApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        reportError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        reportError(QStringLiteral("An unknown error occurred"));
    }
    return false;
}
