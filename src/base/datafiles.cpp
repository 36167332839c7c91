#include "base/datafiles.h"

#include <QDir>
#include <QFileInfo>

#include "base/ansi.h"

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

std::string FindNamedDataFile(const std::string& folder, const std::string& name)
{
    if (name.find_first_of("/\\") != std::string::npos)
        return {};
    const QString found = FindDataFile(QDir(QString::fromStdString(folder)).filePath(FromAnsi(name)));
    return found.toStdString();
}
