#include "shell/version.h"

QString FileVersion()
{
    return QStringLiteral(ORVALDIS_FILE_VERSION);
}

QString RaccourciVersion(const QString& version)
{
    int dots = 0;
    for (int i = 0; i < version.size(); ++i)
        if (version.at(i) == QLatin1Char('.') && ++dots == 3) return version.left(i);
    return version;
}

QString VersionLabel(const QString& version)
{
    return QStringLiteral("v.") + RaccourciVersion(version) + QStringLiteral(" (Build ") +
           version.mid(version.lastIndexOf(QLatin1Char('.')) + 1) + QLatin1Char(')');
}
