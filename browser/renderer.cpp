#include "browser/renderer.h"

#include "platform/report/report.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <atomic>

// Lets through the files of the copy's folder and inline data, nothing else:
// the copy cannot reach the network, nor any other file of the computer.
class CopyInterceptor : public QWebEngineUrlRequestInterceptor
{
public:
    CopyInterceptor(const QString& folder, QObject* parent)
        : QWebEngineUrlRequestInterceptor(parent),
          folder_(QDir(folder).canonicalPath() + QLatin1Char('/'))
    {
    }
    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        const QUrl url = info.requestUrl();
        const QString scheme = url.scheme().toLower();
        bool allowed = scheme == QLatin1String("data");
        if (url.isLocalFile()) {
            const QString file = QFileInfo(url.toLocalFile()).canonicalFilePath();
            allowed = !file.isEmpty() && file.startsWith(folder_) &&
                      !file.mid(folder_.size()).contains(QLatin1Char('/'));
        }
        if (!allowed) {
            refused.fetch_add(1);
            info.block(true);
        }
    }
    std::atomic_int refused{0};

private:
    QString folder_;
};

CopyRenderer::CopyRenderer(const QString& folder, QObject* parent)
    : QObject(parent), folder_(folder)
{
}

CopyRenderer::~CopyRenderer()
{
    over_ = true;
    delete page_;
    delete profile_;
}

int CopyRenderer::refused() const
{
    return interceptor_ ? interceptor_->refused.load() : 0;
}

void CopyRenderer::render(const QString& pageFile, const QString& pdfFile, int timeoutMs)
{
    pdf_ = pdfFile;
    // A profile of its own, kept in memory: the copy leaves nothing on disk
    // and shares nothing with the user's browsing.
    profile_ = new QWebEngineProfile(this);
    interceptor_ = new CopyInterceptor(folder_, profile_);
    profile_->setUrlRequestInterceptor(interceptor_);
    profile_->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    page_ = new QWebEnginePage(profile_, this);
    QWebEngineSettings* s = page_->settings();
    s->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    s->setAttribute(QWebEngineSettings::AutoLoadImages, true);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    s->setAttribute(QWebEngineSettings::PrintElementBackgrounds, true);
    s->setFontFamily(QWebEngineSettings::StandardFont, QStringLiteral("Liberation Serif"));
    s->setFontFamily(QWebEngineSettings::FixedFont, QStringLiteral("Liberation Mono"));
    page_->setBackgroundColor(Qt::white);
    connect(page_, &QWebEnginePage::loadFinished, this, &CopyRenderer::loaded);
    connect(page_, &QWebEnginePage::pdfPrintingFinished, this, &CopyRenderer::printed);
    QTimer::singleShot(timeoutMs, this, [this] { end(false); });
    page_->load(QUrl::fromLocalFile(QDir(folder_).filePath(pageFile)));
}

void CopyRenderer::stop()
{
    over_ = true;
    if (page_) page_->triggerAction(QWebEnginePage::Stop);
}

void CopyRenderer::loaded(bool ok)
{
    if (over_ || printing_) return;
    Q_UNUSED(ok); // a file the copy lacks does not stop the page from printing
    printing_ = true;
    // The page of the reports, with margins of 2 cm.
    const QPageSize size(QSizeF(report::PageWidthMm, report::PageHeightMm), QPageSize::Millimeter,
                         QString(), QPageSize::ExactMatch);
    page_->printToPdf(pdf_, QPageLayout(size, QPageLayout::Portrait, QMarginsF(20, 20, 20, 20),
                                        QPageLayout::Millimeter));
}

void CopyRenderer::printed(const QString& file, bool ok)
{
    if (file != pdf_) return;
    end(ok && QFileInfo(file).size() > 0);
}

void CopyRenderer::end(bool ok)
{
    if (over_) return;
    over_ = true;
    emit finished(ok);
}
