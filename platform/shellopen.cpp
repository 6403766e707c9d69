#include "platform/shellopen.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

void ExecuteFile(const QString& target)
{
    const QUrl url = QFileInfo::exists(target) ? QUrl::fromLocalFile(target)
                                               : QUrl::fromUserInput(target);
    QDesktopServices::openUrl(url);
}
