#pragma once
// The company export without its windows: the delimited text file that the
// import reads back, and the grid of the spreadsheet.

#include "store/records.h"

#include <QList>
#include <QSaveFile>
#include <QString>
#include <QStringList>

struct ExportChoice {
    bool contacts = false; // one line per contact, the company repeated
    char separator = ';';  // ',' or ';'
    char delimiter = '"';  // '"' or '\''
};

// The words of a category letter: "Société", "Cabinet de recrutement",
// "Intérim"; empty for any other letter.
QString categoryWord(const Letter& categorie);

// Writes the text file: the header line, then for every company in table
// order one line (or one per contact, in table order); every value between
// delimiters, a delimiter inside a value preceded by a backslash, lines ended
// by CR LF, texts in Windows-1252 as stored. `out` is not yet open; the
// target is replaced only when everything was written.
bool writeExportText(QSaveFile& out, const QList<TSocieteRec>& societes,
                     const QList<TContactRec>& contacts, const ExportChoice& choice,
                     QString* error);

// The same rows as a grid of plain values under the spreadsheet's header
// words; a company without contact has only its 15 cells.
QList<QStringList> exportGrid(const QList<TSocieteRec>& societes,
                              const QList<TContactRec>& contacts, bool withContacts);
