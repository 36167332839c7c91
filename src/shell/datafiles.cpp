#include "shell/datafiles.h"

#include <QDir>
#include <QFileInfo>

QString FindDataFile(const QString& path)
{
    const QFileInfo info(path);
    if (info.isFile())
        return info.filePath();
    const QDir dir = info.dir();
    if (!dir.exists())
        return {};
    const QStringList entries = dir.entryList(QDir::Files);
    for (const QString& entry : entries)
        if (entry.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return {};
}
