#pragma once
// The report of one application: its variables, gathered from the
// application, its company, its contact, the state of its five document
// slots and the texts of its notes and pasted documents.

#include "store/store.h"

#include <QDate>
#include <QMap>
#include <QString>

// The captions of the editor that the report repeats as they are shown:
// for each slot (offer, CV, letter, acknowledgement, reply) its description
// and its date line, then the appointment line.
struct EditorCaptions {
    QString description[5];
    QString date[5];
    QString rdv;
};

// The notes and pasted documents, each under its heading and a rule of
// 156 hyphens, every line ended with CR LF, tabs as four spaces. Empty when
// there is none.
QString reportMemo(const Store& store, const TCandidatureRec& c);

// The variables of the report of application `id` (at `position` when it
// holds that id, see findChosen); an application, company or contact that
// is not found gives empty values, never a failure.
QMap<QString, QString> RapportCandidature(const Store& store, qint32 id,
                                          const EditorCaptions& captions, const QDate& today,
                                          int position = -1);
