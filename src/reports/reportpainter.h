#pragma once

#include "reports/reportdocument.h"

class QPagedPaintDevice;

namespace coop {

// Makes the device an A4 portrait page whose painting origin is the page's corner, so that the
// document's millimetres are the page's.
void PreparePage(QPagedPaintDevice &device);

// Paints every page of the document onto a prepared device, a new device page for each.
// Raises coop::Error when the device cannot be painted on.
void PaintReport(const ReportDocument &document, QPagedPaintDevice &device);

// Writes the document as a PDF file; raises coop::Error when the file cannot be written.
void WriteReportPdf(const ReportDocument &document, const QString &path);

// Builds the layout from its queries and writes it as a PDF file. Returns what it wrote.
ReportDocument RenderToPdf(const ReportLayout &layout, const QString &path);

} // namespace coop
