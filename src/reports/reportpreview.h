#pragma once

#include "reports/reportdocument.h"

#include <QPrintPreviewDialog>

namespace coop {

// The engine's preview window: the document's pages with the toolkit's paging, zoom, page set-up
// and printing, and one more tool, "Зберегти як PDF", for documents that go out by mail.
class ReportPreviewDialog : public QPrintPreviewDialog
{
    Q_OBJECT

public:
    // The printer is the dialog's own; the document must outlive the dialog.
    explicit ReportPreviewDialog(const ReportDocument &document, QWidget *parent = nullptr);

private:
    void paintPages(QPrinter *printer);
    void saveAsPdf();

    const ReportDocument &m_document;
};

// Builds the document from the current rows of the layout's queries (walking its detail query),
// shows it in the preview window and returns when that window is closed. A failure to build
// raises coop::Error before any window shows.
void Preview(const ReportLayout &layout, QWidget *parent = nullptr);

} // namespace coop
