// The preview window: it shows every page of the document, offers "Зберегти як PDF" on its tool
// bar, and Preview returns when it closes, the lines query standing on its last row.
#include "reportfixture.h"
#include "reports/reportpreview.h"

#include <QApplication>
#include <QPrintPreviewWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace coop;

class TestReportPreview : public QObject
{
    Q_OBJECT

private slots:
    void previewShowsThePagesAndReturnsOnClose()
    {
        ReportFixture fixture;
        fixture.addNumberedLines(100); // 37 rows on the first page, 43 on the second, 20 and the summary
        fixture.open();

        bool inspected = false;
        int pageCount = 0;
        QStringList toolBarActions;
        QString caption;
        QTimer::singleShot(0, this, [&] {
            for (QWidget *window : QApplication::topLevelWidgets()) {
                auto *dialog = qobject_cast<ReportPreviewDialog *>(window);
                if (!dialog || !dialog->isVisible())
                    continue;
                inspected = true;
                caption = dialog->windowTitle();
                auto *pages = dialog->findChild<QPrintPreviewWidget *>();
                pages->updatePreview();
                pageCount = pages->pageCount();
                for (QAction *action : dialog->findChild<QToolBar *>()->actions())
                    toolBarActions << action->text();
                dialog->reject();
            }
        });
        Preview(fixture.layout());

        QVERIFY(inspected);
        QCOMPARE(caption, QStringLiteral("Накладна"));
        QCOMPARE(pageCount, 3);
        QVERIFY2(toolBarActions.contains(QStringLiteral("Зберегти як PDF")), qPrintable(toolBarActions.join(u',')));
        QCOMPARE(fixture.lines.recNo(), 99);
    }
};

QTEST_MAIN(TestReportPreview)
#include "test_reportpreview.moc"
