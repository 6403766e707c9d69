#include "browser/conversion.h"

#include "browser/renderer.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QtConcurrent>

namespace
{

// The length of the text of the page and of each of its frames (-1 for a
// frame of another site, which cannot be read).
const char* const FramesScript = R"(
(function () {
  function textLength(d) {
    try { return (d.documentElement && d.documentElement.innerText || '').length; }
    catch (e) { return -1; }
  }
  var frames = [];
  for (var i = 0; i < window.frames.length; i++) {
    var d = null;
    try { d = window.frames[i].document; } catch (e) {}
    frames.push(d ? textLength(d) : -1);
  }
  return { page: textLength(document), frames: frames };
})()
)";

// The current HTML of a document (after its scripts ran) and its address.
QString documentScript(int frame)
{
    const QString doc = frame < 0 ? QStringLiteral("document")
                                  : QStringLiteral("window.frames[%1].document").arg(frame);
    return QStringLiteral(R"(
(function () {
  var d = %1;
  if (!d || !d.documentElement) return null;
  var type = d.doctype ? '<!DOCTYPE ' + d.doctype.name + '>\n' : '';
  return { html: type + d.documentElement.outerHTML, url: d.URL };
})()
)")
        .arg(doc);
}

QString stampOf(const QDateTime& t)
{
    return t.toString(QStringLiteral("yyyyMMdd_HHmmss"));
}

} // namespace

PageConversion::PageConversion(QWebEnginePage* source, const Options& options, QObject* parent)
    : QObject(parent), source_(source), options_(options),
      cancelled_(std::make_shared<std::atomic_bool>(false))
{
    connect(&analysis_, &QFutureWatcher<Analysed>::finished, this, &PageConversion::analysed);
    connect(&sheetAnalysis_, &QFutureWatcher<Analysed>::finished, this,
            &PageConversion::styleSheetsRead);
    connect(&rewriting_, &QFutureWatcher<bool>::finished, this, &PageConversion::rewritten);
}

PageConversion::~PageConversion()
{
    cancel();
}

QString PageConversion::folder() const
{
    return folder_ ? folder_->path() : QString();
}

void PageConversion::setStatus(const QString& text, int maximum)
{
    if (!over_) emit status(text, maximum);
}

void PageConversion::start()
{
    // The stamp names the PDF: a second already taken in Import/ gives the next one.
    QDateTime t = options_.now.isValid() ? options_.now : QDateTime::currentDateTime();
    const QDir import(options_.importDir);
    while (import.exists(stampOf(t) + QStringLiteral(".pdf")))
        t = t.addSecs(1);
    stamp_ = stampOf(t);
    pdf_ = import.filePath(stamp_ + QStringLiteral(".pdf"));
    const QString root = options_.tempRoot.isEmpty() ? QDir::tempPath() : options_.tempRoot;
    folder_ = std::make_unique<QTemporaryDir>(
        QDir(root).filePath(QStringLiteral("ORVALDIS_") + stamp_ + QStringLiteral("_XXXXXX")));
    // The first steps run once the caller's window is up.
    QTimer::singleShot(0, this, &PageConversion::readDocument);
}

void PageConversion::readDocument()
{
    if (over_) return;
    if (!source_ || !folder_->isValid()) return fail();
    QPointer<PageConversion> self(this);
    source_->runJavaScript(
        QString::fromLatin1(FramesScript), QWebEngineScript::ApplicationWorld,
        [self](const QVariant& frames) {
            if (!self || self->over_) return;
            // The frame with the most text, when it has
            // more than the page around it (a frame set).
            const QVariantMap m = frames.toMap();
            const QVariantList lengths = m.value(QStringLiteral("frames")).toList();
            int chosen = -1;
            qint64 best = m.value(QStringLiteral("page")).toLongLong();
            for (int i = 0; i < lengths.size(); ++i)
                if (lengths[i].toLongLong() > best) {
                    best = lengths[i].toLongLong();
                    chosen = i;
                }
            if (!self->source_) return self->fail();
            self->source_->runJavaScript(documentScript(chosen), QWebEngineScript::ApplicationWorld,
                                         [self](const QVariant& doc) {
                                             if (self) self->documentRead(doc);
                                         });
        });
}

bool PageConversion::writePage(const QString& html) const
{
    // Written in UTF-8 whatever the page's own character set: the mark at
    // the start tells the renderer so, over any <meta charset> of the page.
    QSaveFile file(QDir(folder_->path()).filePath(stamp_ + QStringLiteral(".htm")));
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write("\xEF\xBB\xBF");
    file.write(html.toUtf8());
    return !cancelled_->load() && file.commit();
}

void PageConversion::documentRead(const QVariant& result)
{
    if (over_) return;
    const QVariantMap doc = result.toMap();
    html_ = doc.value(QStringLiteral("html")).toString();
    url_ = QUrl(doc.value(QStringLiteral("url")).toString());
    if (html_.isEmpty() || html_.size() > options_.maxHtml) return fail();
    setStatus(QStringLiteral("Sauvegarde de la source HTML"), 0);
    QPointer<PageConversion> self(this);
    auto cancelled = cancelled_;
    const int maxResources = options_.limits.resources;
    analysis_.setFuture(QtConcurrent::run([this, self, cancelled, maxResources] {
        Analysed a;
        if (!writePage(html_)) return a;
        QMetaObject::invokeMethod(self, [self] {
            if (self) self->setStatus(QStringLiteral("Lecture de la source HTML"), 0);
        });
        a.plan = pagecopy::planCopy(html_, url_, stamp_, maxResources, cancelled.get());
        a.ok = !cancelled->load();
        return a;
    }));
}

void PageConversion::analysed()
{
    if (over_) return;
    result_ = analysis_.result();
    if (!result_.ok) return fail();
    const pagecopy::CopyPlan& plan = result_.plan;
    const QList<pagecopy::Resource> images = plan.images + plan.styleImages;
    setStatus(QStringLiteral("Mise en cache des images"), int(images.size()));
    const QByteArray agent = source_ ? source_->profile()->httpUserAgent().toUtf8() : QByteArray();
    fetcher_ = new ResourceFetcher(folder_->path(), options_.limits, agent, this);
    connect(fetcher_, &ResourceFetcher::resourceDone, this, [this] {
        if (!over_) emit step();
    });
    connect(fetcher_, &ResourceFetcher::finished, this, &PageConversion::fetchStyles,
            Qt::SingleShotConnection);
    fetcher_->fetch(images);
}

void PageConversion::fetchStyles()
{
    if (over_) return;
    const pagecopy::CopyPlan& plan = result_.plan;
    setStatus(QStringLiteral("Mise en cache des feuilles de styles et des scripts"),
              int(plan.styles.size() + plan.scripts.size()));
    connect(fetcher_, &ResourceFetcher::finished, this, &PageConversion::readStyleSheets,
            Qt::SingleShotConnection);
    fetcher_->fetch(plan.styles + plan.scripts);
}

void PageConversion::readStyleSheets()
{
    if (over_) return;
    // The images the sheets name, relative to each sheet's own address.
    const QSet<QString> saved(fetcher_->saved().cbegin(), fetcher_->saved().cend());
    auto cancelled = cancelled_;
    const int maxResources = options_.limits.resources;
    const QString folder = folder_->path();
    Analysed a = result_;
    sheetAnalysis_.setFuture(
        QtConcurrent::run([a, saved, cancelled, maxResources, folder]() mutable {
            for (const pagecopy::Resource& sheet : std::as_const(a.plan.styles)) {
                if (cancelled->load()) return a;
                if (!saved.contains(sheet.localName)) continue;
                QFile file(QDir(folder).filePath(sheet.localName));
                if (!file.open(QIODevice::ReadOnly)) continue;
                // One character a byte: the rewritten sheet keeps its own bytes.
                const QString css = QString::fromLatin1(file.readAll());
                QHash<QString, QString> names =
                    pagecopy::planStyleSheet(a.plan, css, sheet.url, maxResources);
                if (!names.isEmpty()) a.sheets.append({sheet.localName, std::move(names)});
            }
            return a;
        }));
}

void PageConversion::styleSheetsRead()
{
    if (over_) return;
    const qsizetype known = result_.plan.styleImages.size();
    result_ = sheetAnalysis_.result();
    const QList<pagecopy::Resource> images = result_.plan.styleImages.mid(known);
    if (images.isEmpty()) return rewrite();
    setStatus(QStringLiteral("Mise en cache des images"), int(images.size()));
    connect(fetcher_, &ResourceFetcher::finished, this, &PageConversion::rewrite,
            Qt::SingleShotConnection);
    fetcher_->fetch(images);
}

void PageConversion::rewrite()
{
    if (over_) return;
    fetched_ = int(fetcher_->saved().size());
    setStatus(QStringLiteral("Conversion des liens des images"),
              int(result_.plan.links.imageSrc.size()));
    QPointer<PageConversion> self(this);
    auto cancelled = cancelled_;
    rewriting_.setFuture(QtConcurrent::run([this, self, cancelled] {
        QMetaObject::invokeMethod(self, [self] {
            if (!self) return;
            self->setStatus(QStringLiteral("Ecriture des nouveaux liens"),
                            int(self->result_.plan.replacements.size()));
        });
        for (const Sheet& sheet : std::as_const(result_.sheets)) {
            if (cancelled->load()) return false;
            // A sheet that cannot be rewritten shows without its images.
            QFile in(QDir(folder_->path()).filePath(sheet.localName));
            if (!in.open(QIODevice::ReadOnly)) continue;
            const QString css = QString::fromLatin1(in.readAll());
            in.close();
            QSaveFile out(in.fileName());
            if (out.open(QIODevice::WriteOnly)) {
                out.write(pagecopy::rewriteStyleUrls(css, sheet.names, false).toLatin1());
                out.commit();
            }
        }
        const QString copy =
            pagecopy::rewriteLinks(html_, result_.plan.replacements, result_.plan.pageStyleNames);
        return !cancelled->load() && writePage(copy);
    }));
}

void PageConversion::rewritten()
{
    if (over_) return;
    if (!rewriting_.result()) return fail();
    html_.clear();
    renderer_ = new CopyRenderer(folder_->path(), this);
    connect(renderer_, &CopyRenderer::finished, this, &PageConversion::printed);
    renderer_->render(stamp_ + QStringLiteral(".htm"),
                      QDir(folder_->path()).filePath(stamp_ + QStringLiteral(".pdf")),
                      options_.renderTimeoutMs);
}

void PageConversion::printed(bool ok)
{
    if (over_) return;
    const QString printedFile = QDir(folder_->path()).filePath(stamp_ + QStringLiteral(".pdf"));
    // Only a whole PDF reaches Import/.
    if (!ok || !QFile::rename(printedFile, pdf_)) return fail();
    setStatus(QStringLiteral("Suppression des fichiers temporaires"), 1);
    removeTemporaryFiles();
    emit step();
    over_ = true;
    emit succeeded(pdf_);
}

void PageConversion::fail()
{
    if (over_) return;
    over_ = true;
    cancelled_->store(true);
    removeTemporaryFiles();
    emit failed();
}

void PageConversion::cancel()
{
    const bool wasOver = over_;
    over_ = true;
    cancelled_->store(true);
    if (fetcher_) fetcher_->abort();
    if (!wasOver) QFile::remove(pdf_);
    removeTemporaryFiles();
}

void PageConversion::removeTemporaryFiles()
{
    // The worker may be writing into the folder: it sees the request at its
    // next step and ends before the folder goes.
    analysis_.waitForFinished();
    sheetAnalysis_.waitForFinished();
    rewriting_.waitForFinished();
    if (renderer_) {
        // Deleted once its own signal has returned; it prints nothing more.
        disconnect(renderer_, nullptr, this, nullptr);
        renderer_->stop();
        renderer_->deleteLater();
        renderer_ = nullptr;
    }
    if (folder_) folder_->remove();
}
