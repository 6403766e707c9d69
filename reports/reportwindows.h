#pragma once
// How the program shows and prints a prepared report: the preview window
// (with its own print button) and the print dialog, failures in a message.

#include "platform/report/report.h"

class QWidget;

void previewReport(const report::Report& r, QWidget* parent);
void printReportWithDialog(const report::Report& r, QWidget* parent);
