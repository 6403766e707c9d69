#include "browser/fetcher.h"

#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace
{
bool webScheme(const QUrl& url)
{
    const QString s = url.scheme().toLower();
    return s == QLatin1String("http") || s == QLatin1String("https");
}

// A local name stays a plain name inside the folder.
bool safeName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) &&
           !name.contains(QLatin1Char('\\')) && !name.startsWith(QLatin1Char('.'));
}
} // namespace

ResourceFetcher::ResourceFetcher(const QString& folder, const FetchLimits& limits,
                                 const QByteArray& userAgent, QObject* parent)
    : QObject(parent), folder_(folder), limits_(limits), userAgent_(userAgent),
      network_(new QNetworkAccessManager(this))
{
    // No cookies, no cache: the copy asks for nothing but the files.
    network_->setCookieJar(nullptr);
}

ResourceFetcher::~ResourceFetcher()
{
    abort();
}

void ResourceFetcher::fetch(const QList<pagecopy::Resource>& resources)
{
    queue_ = resources;
    startNext();
}

void ResourceFetcher::startNext()
{
    if (aborted_) return;
    while (!queue_.isEmpty() && running_.size() < limits_.parallel) {
        const pagecopy::Resource r = queue_.takeFirst();
        if (!webScheme(r.url) || !safeName(r.localName) || started_ >= limits_.resources ||
            received_ >= limits_.total) {
            emit resourceDone();
            continue;
        }
        ++started_;
        auto* file = new QFile(QDir(folder_).filePath(r.localName), this);
        if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            delete file;
            emit resourceDone();
            continue;
        }
        QNetworkRequest request(r.url);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::UserVerifiedRedirectPolicy);
        request.setMaximumRedirectsAllowed(limits_.redirects);
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                             QNetworkRequest::AlwaysNetwork);
        if (!userAgent_.isEmpty()) request.setHeader(QNetworkRequest::UserAgentHeader, userAgent_);
        QNetworkReply* reply = network_->get(request);
        running_.insert(reply, Transfer{file, 0, false});
        connect(reply, &QNetworkReply::redirected, this, [this, reply](const QUrl& to) {
            if (webScheme(to)) {
                emit reply->redirectAllowed();
            } else {
                running_[reply].refused = true;
                reply->abort();
            }
        });
        connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply] {
            const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
            if (length.isValid() && length.toLongLong() > limits_.perResource) {
                running_[reply].refused = true;
                reply->abort();
            }
        });
        connect(reply, &QNetworkReply::readyRead, this, [this, reply] { read(reply); });
        connect(reply, &QNetworkReply::finished, this, [this, reply] { done(reply); });
        auto* timer = new QTimer(reply);
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, [this, reply] {
            running_[reply].refused = true;
            reply->abort();
        });
        timer->start(limits_.timeoutMs);
    }
    if (queue_.isEmpty() && running_.isEmpty()) emit finished();
}

void ResourceFetcher::read(QNetworkReply* reply)
{
    auto it = running_.find(reply);
    if (it == running_.end() || it->refused) return;
    const QByteArray data = reply->readAll();
    it->bytes += data.size();
    received_ += data.size();
    if (it->bytes > limits_.perResource || received_ > limits_.total ||
        it->file->write(data) != data.size()) {
        it->refused = true;
        reply->abort();
    }
}

void ResourceFetcher::done(QNetworkReply* reply)
{
    auto it = running_.find(reply);
    if (it == running_.end()) return;
    if (!it->refused && reply->error() == QNetworkReply::NoError) read(reply);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool whole = !it->refused && reply->error() == QNetworkReply::NoError && status < 400 &&
                       it->file->flush();
    QFile* file = it->file;
    running_.erase(it);
    if (auto* timer = reply->findChild<QTimer*>()) timer->stop();
    file->close();
    if (whole)
        saved_.append(QFileInfo(file->fileName()).fileName());
    else
        file->remove();
    delete file;
    reply->deleteLater();
    if (aborted_) return;
    emit resourceDone();
    startNext();
}

void ResourceFetcher::abort()
{
    if (aborted_) return;
    aborted_ = true;
    queue_.clear();
    const auto replies = running_.keys();
    for (QNetworkReply* reply : replies)
        drop(reply);
}

void ResourceFetcher::drop(QNetworkReply* reply)
{
    disconnect(reply, nullptr, this, nullptr);
    if (auto* timer = reply->findChild<QTimer*>()) timer->stop();
    reply->abort();
    Transfer t = running_.take(reply);
    t.file->close();
    t.file->remove();
    delete t.file;
    reply->deleteLater();
}
