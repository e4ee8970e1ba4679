#pragma once
// The Summary page as plain text for the clipboard: a title line, then each
// group's title and its caption and value lines, every line ending in
// "\r\n". Texts are taken as the labels hold them (rich text kept); only the
// fixed separators are not translated.

#include "ReportFlavor.h"

#include <QString>
#include <functional>

// The text of the label or group box title with that object name.
using SummaryTextSource = std::function<QString(const char *objectName)>;

// 37 lines for the information window (a blank line after the luminance
// group), 36 for the browser.
QString summaryText(const QString &title, ReportFlavor flavor, const SummaryTextSource &textOf);
