#include "reports/reportpreview.h"

#include "data/databaseerror.h"
#include "reports/reportbuilder.h"
#include "reports/reportpainter.h"
#include "widgets/messages.h"
#include "widgets/screen.h"

#include <QAction>
#include <QFileDialog>
#include <QPrinter>
#include <QStyle>
#include <QToolBar>

namespace coop {

ReportPreviewDialog::ReportPreviewDialog(const ReportDocument &document, QWidget *parent)
    : QPrintPreviewDialog(parent) // with a printer of its own
    , m_document(document)
{
    printer()->setDocName(document.name);
    printer()->setCopyCount(1);
    PreparePage(*printer());
    setWindowTitle(document.name);
    connect(this, &QPrintPreviewDialog::paintRequested, this, &ReportPreviewDialog::paintPages);

    auto *save = new QAction(style()->standardIcon(QStyle::SP_DialogSaveButton),
                             QStringLiteral("Зберегти як PDF"), this);
    save->setObjectName(QStringLiteral("saveAsPdf"));
    save->setToolTip(save->text());
    connect(save, &QAction::triggered, this, &ReportPreviewDialog::saveAsPdf);
    if (auto *toolBar = findChild<QToolBar *>()) {
        toolBar->addSeparator();
        toolBar->addAction(save);
    } else {
        addAction(save); // still reachable by its shortcut should the toolkit drop its tool bar
    }
    save->setShortcut(QKeySequence::Save);
}

void ReportPreviewDialog::paintPages(QPrinter *printer)
{
    // This runs inside the toolkit's event handling, which an exception must not cross.
    try {
        PaintReport(m_document, *printer);
    } catch (const Error &error) {
        messageBox(QStringLiteral("Помилка"), error.text(), MessageButton::Ok, MessageIcon::Error);
    }
}

void ReportPreviewDialog::saveAsPdf()
{
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Зберегти як PDF"),
                                                m_document.name + QStringLiteral(".pdf"),
                                                QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    try {
        WriteReportPdf(m_document, path);
    } catch (const Error &error) {
        messageBox(QStringLiteral("Помилка"), error.text(), MessageButton::Ok, MessageIcon::Error);
    }
}

void Preview(const ReportLayout &layout, QWidget *parent)
{
    const ReportDocument document = BuildReport(layout);
    ReportPreviewDialog dialog(document, parent);
    // Through the window layer, so that closing the preview re-activates the screen it came from.
    showModal(dialog);
}

} // namespace coop
