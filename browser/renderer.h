#pragma once
// The invisible renderer of a page copy: it loads the copy with scripts off,
// lets through no request but the files of the copy's own folder, and
// prints the page into a PDF of the report page size.

#include <QObject>
#include <QString>

class QWebEnginePage;
class QWebEngineProfile;
class CopyInterceptor;

class CopyRenderer : public QObject
{
    Q_OBJECT
public:
    // `folder` holds the page copy and its files.
    CopyRenderer(const QString& folder, QObject* parent = nullptr);
    ~CopyRenderer() override;

    // Loads `pageFile` (a file of the folder) and prints it to `pdfFile`.
    // finished() tells the outcome once; nothing is written after the
    // renderer is deleted.
    void render(const QString& pageFile, const QString& pdfFile, int timeoutMs = 60000);

    // Stops loading; nothing is printed after it.
    void stop();

    // Requests the renderer refused (for tests and curious readers).
    int refused() const;

signals:
    void finished(bool ok);

private:
    void loaded(bool ok);
    void printed(const QString& file, bool ok);
    void end(bool ok);

    QString folder_;
    QString pdf_;
    QWebEngineProfile* profile_ = nullptr;
    QWebEnginePage* page_ = nullptr;
    CopyInterceptor* interceptor_ = nullptr;
    bool printing_ = false;
    bool over_ = false;
};
