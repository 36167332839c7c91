#include "base/addresses.h"

#include <QDir>

namespace addresses {

namespace {

    QUrl Address(const char* variable, const QString& manualFolder, const char* standIn)
    {
        const QUrl set(qEnvironmentVariable(variable).trimmed(), QUrl::StrictMode);
        if (set.isValid() && !set.scheme().isEmpty())
            return set;
        return QUrl::fromLocalFile(QDir(manualFolder).filePath(standIn));
    }

} // namespace

Outside ReadOutside(const QString& manualFolder)
{
    return {Address(kVotingVariable, manualFolder, kVotingStandIn),
        Address(kExtrasVariable, manualFolder, kExtrasStandIn),
        Address(kFeedbackVariable, manualFolder, kFeedbackStandIn)};
}

} // namespace addresses
