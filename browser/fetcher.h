#pragma once
// Downloads the files of a page copy into the conversion's folder, several
// at a time, with the limits that keep a hostile page from filling the disk
// or holding the conversion: http and https only (redirects too), a size
// per file and in all, a time per file. A file that fails is not kept: the
// copy then shows the page without it.

#include "browser/pagecopy.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QSet>

class QFile;
class QNetworkAccessManager;
class QNetworkReply;

struct FetchLimits {
    qint64 perResource = 20 * 1024 * 1024;
    qint64 total = 100 * 1024 * 1024;
    int resources = 500; // files in one conversion
    int timeoutMs = 20000;
    int parallel = 6;
    int redirects = 5;
};

class ResourceFetcher : public QObject
{
    Q_OBJECT
public:
    ResourceFetcher(const QString& folder, const FetchLimits& limits, const QByteArray& userAgent,
                    QObject* parent = nullptr);
    ~ResourceFetcher() override;

    // Fetches a list; resourceDone() after each file, finished() after the
    // last one. One list at a time.
    void fetch(const QList<pagecopy::Resource>& resources);
    // Stops every transfer at once and deletes the files not finished; no
    // signal follows.
    void abort();

    // Bytes received by this fetcher, all lists together.
    qint64 received() const { return received_; }
    // Local names of the files fetched whole.
    const QStringList& saved() const { return saved_; }

signals:
    void resourceDone();
    void finished();

private:
    struct Transfer {
        QFile* file = nullptr;
        qint64 bytes = 0;
        bool refused = false; // over a limit, or redirected elsewhere than http/https
    };
    void startNext();
    void read(QNetworkReply* reply);
    void done(QNetworkReply* reply);
    void drop(QNetworkReply* reply);

    QString folder_;
    FetchLimits limits_;
    QByteArray userAgent_;
    QNetworkAccessManager* network_;
    QList<pagecopy::Resource> queue_;
    QHash<QNetworkReply*, Transfer> running_;
    QStringList saved_;
    int started_ = 0; // files asked for, all lists together
    qint64 received_ = 0;
    bool aborted_ = false;
};
