#pragma once

#include "reports/reportdocument.h"

#include <QRectF>
#include <QStringList>

#include <vector>

// Reading a laid-out document and the PDF written from it, for the tests of the engine and of the
// documents.

inline constexpr double MmPerPoint = 25.4 / 72;

// The elements of one band on every page, in painting order: its texts, or its shapes.
std::vector<const coop::PlacedElement *> elementsOf(const coop::ReportDocument &document, coop::BandKind band,
                                                    bool shapes = false);
QStringList textsOf(const coop::ReportDocument &document, coop::BandKind band);
// The first element with this text; the test stops when there is none.
const coop::PlacedElement &elementWithText(const coop::ReportDocument &document, const QString &text);

// The standard output of a program that must succeed.
QString run(const QString &program, const QStringList &arguments);
// The PDF's text as laid out on its pages, or on page `page` (from 1) alone.
QString pdfText(const QString &path, int page = 0);
int pdfPages(const QString &path);
// The box of the first word `word` that pdftotext finds, in millimetres from the page's corner;
// an empty box when there is none.
QRectF pdfWordBoxMm(const QString &path, const QString &word);
// Whether some line of `text` matches the regular expression `pattern`.
bool hasLine(const QString &text, const QString &pattern);
