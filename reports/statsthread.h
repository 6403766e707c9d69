#pragma once
// TStatsThread: counts the key figures off the interface thread. It is given
// shared copies of the tables (no bytes are copied: the copies share the
// tables' storage until one of them changes), drops them as soon as the count
// is done, and hands the seven label texts to the interface thread.

#include "reports/statistics.h"

#include <QThread>
#include <functional>

class TStatsThread : public QThread
{
    Q_OBJECT
public:
    using Display = std::function<void(const QStringList& texts)>;

    // `display` runs on the thread of `context`, after the count.
    TStatsThread(const QList<TCandidatureRec>& candidatures, const QList<TSocieteRec>& societes,
                 const QLocale& locale, QObject* context, Display display);

protected:
    void run() override;

private:
    QList<TCandidatureRec> candidatures_;
    QList<TSocieteRec> societes_;
    QLocale locale_;
    QObject* context_;
    Display display_;
};
