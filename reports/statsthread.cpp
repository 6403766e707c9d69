#include "reports/statsthread.h"

#include "store/helpers.h"

TStatsThread::TStatsThread(const QList<TCandidatureRec>& candidatures,
                           const QList<TSocieteRec>& societes, const QLocale& locale,
                           QObject* context, Display display)
    : candidatures_(candidatures), societes_(societes), locale_(locale), context_(context),
      display_(std::move(display))
{
}

void TStatsThread::run()
{
    int societes = 0;
    for (const TSocieteRec& s : std::as_const(societes_))
        if (isLive(s)) ++societes;
    KeyFigures figures;
    bool counted = true;
    try {
        figures = countFigures(candidatures_, societes);
    } catch (const DateError&) {
        // A date that is not one stops this count; the labels keep their texts.
        counted = false;
    }
    // A copy still held would make the next change of a table copy it whole.
    candidatures_ = {};
    societes_ = {};
    if (!counted) return;
    const QStringList texts = keyFigureTexts(figures, locale_);
    QMetaObject::invokeMethod(
        context_, [display = display_, texts] { display(texts); }, Qt::QueuedConnection);
}
