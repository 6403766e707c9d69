#pragma once
// Opens a file or an address with the program the desktop associates with it.

#include <QString>

// The result of the request is not checked: the desktop shows its own errors.
void ExecuteFile(const QString& pathOrAddress);
