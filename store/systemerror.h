#pragma once
// The system's reason for a failed file operation, as the user reads it: in
// French, whichever language the system speaks. Every message that carries
// such a reason takes it from here.

#include <QString>

class QIODevice;

// The reason of an errno value ("Espace disque insuffisant" for ENOSPC).
QString systemErrorText(int errorNumber);

// A reason given by Qt or the C library (an errorString(), a strerror())
// put in French when it is one of the system's reasons; any other text is
// returned as it is, an empty one as "Erreur inconnue".
QString frenchErrorText(const QString& text);

// The reason of the last failure of a device, in French.
QString deviceErrorText(const QIODevice& device);
