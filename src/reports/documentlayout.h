#pragma once

#include "reports/reportlayout.h"

#include <QObject>

class QWidget;

namespace coop {

// A printed document of the system: a layout bound to queries of the screens. The header query's
// current row gives the document's head, every row of the lines query one line of its table; the
// print buttons of the screens call Preview. It is created once at start-up, after those screens,
// and only refers to their queries, which outlive it.
class DocumentLayout : public QObject
{
    Q_OBJECT

public:
    const ReportLayout &layout() const { return m_layout; }

    // Builds the document from the current rows of the bound queries, walking the lines to their
    // last row, shows it in the preview window and returns when that window is closed.
    void Preview(QWidget *parent = nullptr) const;

protected:
    DocumentLayout(const QString &objectName, ReportLayout layout, QObject *parent);

private:
    const ReportLayout m_layout;
};

} // namespace coop
