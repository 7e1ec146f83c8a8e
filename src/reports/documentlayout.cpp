#include "reports/documentlayout.h"

#include "reports/reportpreview.h"

namespace coop {

DocumentLayout::DocumentLayout(const QString &objectName, ReportLayout layout, QObject *parent)
    : QObject(parent)
    , m_layout(std::move(layout))
{
    setObjectName(objectName);
}

void DocumentLayout::Preview(QWidget *parent) const
{
    coop::Preview(m_layout, parent);
}

} // namespace coop
