#pragma once
// The conversion of the page on display into a self-contained PDF: the
// document is read from the browser on the interface thread, its files are
// fetched while the interface goes on, the links are rewritten on a worker,
// and the copy is printed into Import/<stamp>.pdf. Used by "Enregistrer
// cette page" and by the import of a page into an application.

#include "browser/fetcher.h"
#include "browser/pagecopy.h"

#include <QDateTime>
#include <QFutureWatcher>
#include <QObject>
#include <QPointer>
#include <QUrl>
#include <atomic>
#include <memory>

class CopyRenderer;
class QTemporaryDir;
class QWebEnginePage;

class PageConversion : public QObject
{
    Q_OBJECT
public:
    struct Options {
        QString importDir; // where the PDF goes
        QString tempRoot;  // empty: the system's temporary directory
        QDateTime now;     // invalid: the current time
        FetchLimits limits;
        qint64 maxHtml = 64LL * 1024 * 1024; // characters of the page's HTML
        int renderTimeoutMs = 60000;
    };

    PageConversion(QWebEnginePage* source, const Options& options, QObject* parent = nullptr);
    ~PageConversion() override;

    void start();
    // Stops everything at once, deletes the PDF if there is one already and
    // the temporary files; no signal follows.
    void cancel();

    // "yyyymmdd_hhnnss", the name of every file of this conversion.
    QString stamp() const { return stamp_; }
    // The folder of the temporary files (empty before start).
    QString folder() const;
    // Files fetched whole, and attributes the copy names, for reports and tests.
    int fetched() const { return fetched_; }
    const pagecopy::CopyPlan& plan() const { return result_.plan; }

signals:
    // A new phase: its status text and number of steps.
    void status(const QString& text, int maximum);
    void step();
    // The PDF is written at `pdf`, and belongs to the receiver.
    void succeeded(const QString& pdf);
    void failed();

private:
    // A style sheet of the copy and the local names of the files it names.
    struct Sheet {
        QString localName;
        QHash<QString, QString> names;
    };
    struct Analysed {
        bool ok = false;
        pagecopy::CopyPlan plan;
        QList<Sheet> sheets;
    };
    void readDocument();
    void documentRead(const QVariant& result);
    void analysed();
    void fetchStyles();
    void readStyleSheets();
    void styleSheetsRead();
    void rewrite();
    void rewritten();
    void printed(bool ok);
    void fail();
    void setStatus(const QString& text, int maximum);
    void removeTemporaryFiles();
    bool writePage(const QString& html) const;

    QPointer<QWebEnginePage> source_;
    Options options_;
    QString stamp_;
    QString pdf_;
    std::unique_ptr<QTemporaryDir> folder_;
    std::shared_ptr<std::atomic_bool> cancelled_;
    QString html_;
    QUrl url_;
    Analysed result_;
    QFutureWatcher<Analysed> analysis_;
    QFutureWatcher<Analysed> sheetAnalysis_;
    QFutureWatcher<bool> rewriting_;
    ResourceFetcher* fetcher_ = nullptr;
    CopyRenderer* renderer_ = nullptr;
    int fetched_ = 0;
    bool over_ = false;
};
