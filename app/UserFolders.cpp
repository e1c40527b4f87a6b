#include "UserFolders.h"

#include <QDir>
#include <QStandardPaths>

namespace {

const QString FolderName = QStringLiteral("larkspur-theme-editor");

QString Made(const QString& path)
{
    QDir().mkpath(path);
    return path;
}

}  // namespace

QString UserConfigFolder()
{
    return Made(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') + FolderName);
}

QString UserStateFolder()
{
#if defined(Q_OS_WIN)
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#else
    // $XDG_STATE_HOME, by default ~/.local/state.
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
#endif
    return Made(base + QLatin1Char('/') + FolderName);
}
