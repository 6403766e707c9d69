#pragma once
// Report templates: JSON files describing the objects of one page.
//
//   {"objects": [
//     {"type": "text", "x": 40, "y": 30, "w": 300, "h": 20, "text": "[Titre]",
//      "size": 18, "bold": true, "align": "left|center|right",
//      "valign": "top|center|bottom", "frame": "LTRB", "fill": "#dde6f4",
//      "color": "#1f3864", "flow": true, "flowTop": 40, "footer": true},
//     {"type": "line", "x1": 40, "y1": 60, "x2": 760, "y2": 60, "width": 1, "color": "#000"},
//     {"type": "picture", "x": 40, "y": 30, "w": 64, "h": 64, "file": "logo.png",
//      "centred": true}
//   ]}

#include "platform/report/report.h"

namespace report
{

// Reads a template; false with the reason when the file is missing or is
// not a template. Unknown keys are ignored; pictures are looked up beside
// the template.
bool readTemplate(const QString& path, Page* page, QString* error);

// Reads a template, or leaves the report without it: a missing or damaged
// template gives an empty first page and one line on standard error naming
// the file.
Page templateOrEmpty(const QString& path);

} // namespace report
