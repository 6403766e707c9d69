#pragma once
// The program's four-part file version and the short form shown to the user.

#include <QString>

// The file version of the program, "2.1.x.y".
QString FileVersion();

// The version cut before its third ".": 2.1.3.5 gives 2.1.3; a version with
// fewer dots is returned whole.
QString RaccourciVersion(const QString& version);

// "v.2.1.3 (Build 5)" for 2.1.3.5: the label of the about box.
QString VersionLabel(const QString& version);
