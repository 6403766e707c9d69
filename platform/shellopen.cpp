#include "platform/shellopen.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace
{
std::function<void(const QString&)>& hook()
{
    static std::function<void(const QString&)> h;
    return h;
}
} // namespace

void setExecuteFileHook(std::function<void(const QString&)> h)
{
    hook() = std::move(h);
}

void ExecuteFile(const QString& target)
{
    if (hook()) {
        hook()(target);
        return;
    }
    const QUrl url =
        QFileInfo::exists(target) ? QUrl::fromLocalFile(target) : QUrl::fromUserInput(target);
    QDesktopServices::openUrl(url);
}
