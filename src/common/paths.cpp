#include "common/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString ProgramFolder()
{
    const QByteArray env = qgetenv("PELKAR_HOME");
    if (!env.isEmpty()) {
        const QString folder = QString::fromLocal8Bit(env);
        QDir().mkpath(folder);
        return folder;
    }
    const QString exeDir = QCoreApplication::applicationDirPath();
    if (!exeDir.isEmpty()) {
        QFileInfo info(exeDir);
        if (info.isDir() && info.isWritable())
            return exeDir;
    }
    QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (data.isEmpty())
        data = QDir::homePath() + QStringLiteral("/.pelkar");
    QDir().mkpath(data);
    return data;
}

QString JoinPath(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

QString ProgramFile(const QString& name)
{
    return JoinPath(ProgramFolder(), name);
}

QString LogDatabasePath()
{
    return ProgramFile(QStringLiteral("Pelkar.db"));
}
