#pragma once
// Opens a file or an address with the program the desktop associates with it.

#include <QString>
#include <functional>

// The result of the request is not checked: the desktop shows its own errors.
void ExecuteFile(const QString& pathOrAddress);

// Test hook: while set, it receives what would have been opened.
void setExecuteFileHook(std::function<void(const QString&)> hook);
