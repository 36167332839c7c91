#pragma once
// A private directory for the files a target writes on every input. Settings
// and account files are saved with fsync, so they go to memory when it can.
#include <QDir>
#include <QString>
#include <QTemporaryDir>

inline const QString& ScratchDir()
{
    static QTemporaryDir dir(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/orvix-fuzz-XXXXXX")
                                                       : QDir::tempPath() + "/orvix-fuzz-XXXXXX");
    static const QString path = dir.path();
    return path;
}

inline std::string ScratchFile(const char* name)
{
    return QDir(ScratchDir()).filePath(QString::fromLatin1(name)).toStdString();
}
