#include "UserFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
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

bool UserFileUsable(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    if (info.isFile())
        return true;
    qWarning("%s is not a regular file; it is left alone", qPrintable(QDir::toNativeSeparators(path)));
    return false;
}

bool StoreUserSetting(const QString& path, const QString& key, const QVariant& value)
{
    if (!UserFileUsable(path))
        return false;
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(key, value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}
