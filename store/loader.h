#pragma once
// TExeThread: the start-up loader. It reads the four data files on its own
// thread and hands each result to the interface thread, waiting for it to be
// taken. Progress goes over in steps of a few thousand records, so the
// interface stays fluid without one call per record.

#include "store/store.h"

#include <QThread>

// The interface side of the loading; every call runs on the interface thread.
class LoaderTarget
{
public:
    virtual ~LoaderTarget() = default;
    virtual void loaderStatus(const QString& text) = 0;
    // Loading starts: `total` records of companies, contacts and applications.
    virtual void loaderBegin(qint64 total) = 0;
    virtual void loaderStep(qint64 records) = 0;
    // Every file was read (or failed); the tables are filled.
    virtual void loaderEnd() = 0;
};

class TExeThread : public QThread
{
    Q_OBJECT
public:
    // `context` lives on the interface thread; calls to `target` and writes
    // to `store` happen there.
    TExeThread(Store* store, LoaderTarget* target, QObject* context);

    // Records per step of the progress bar.
    static constexpr qint64 StepRecords = 2048;
    // Largest data file loaded: far beyond any real folder, small enough for
    // its table to fit in memory.
    static constexpr qint64 MaxFileSize = qint64(4) << 30;
    // Why a data file is not read (not a regular file, too large); empty
    // when it may be.
    static QString refusal(const QString& path);

protected:
    void run() override;

private:
    template <class T> bool loadFile(FileKind kind, const QString& status, qint32* maxId);
    template <class F> void onInterface(F&& f);

    Store* store_;
    LoaderTarget* target_;
    QObject* context_;
    Store::IdsInUse used_;
};
