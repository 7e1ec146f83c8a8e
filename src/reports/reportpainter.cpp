#include "reports/reportpainter.h"

#include "data/databaseerror.h"
#include "reports/reportbuilder.h"
#include "reports/reportfonts.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace coop {

namespace {

class MmToDevice
{
public:
    explicit MmToDevice(const QPaintDevice &device)
        : m_x(device.logicalDpiX() / 25.4), m_y(device.logicalDpiY() / 25.4)
    {
    }
    QRectF operator()(const QRectF &mm) const
    {
        return {mm.x() * m_x, mm.y() * m_y, mm.width() * m_x, mm.height() * m_y};
    }

private:
    double m_x, m_y;
};

void paintShape(QPainter &painter, const QRectF &box, const PlacedElement &element)
{
    painter.setPen(QPen(Qt::black, 0)); // one device pixel, however fine the device
    painter.setBrush(element.fill);
    painter.drawRect(box);
}

void paintText(QPainter &painter, const QRectF &box, const PlacedElement &element)
{
    if (element.fill.alpha() > 0)
        painter.fillRect(box, element.fill);
    if (element.text.isEmpty())
        return;
    painter.setFont(PrintFont(element.font));
    painter.setPen(element.font.colour);
    const int horizontal = element.alignment == Alignment::Centre ? Qt::AlignHCenter : Qt::AlignLeft;
    painter.drawText(box, horizontal | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, element.text);
}

} // namespace

void PreparePage(QPagedPaintDevice &device)
{
    // A printer keeps its unprintable margins unless it paints the full page.
    if (auto *printer = dynamic_cast<QPrinter *>(&device))
        printer->setFullPage(true);
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(),
                                     QPageLayout::Millimeter));
}

void PaintReport(const ReportDocument &document, QPagedPaintDevice &device)
{
    QPainter painter;
    if (!painter.begin(&device))
        throw Error(QStringLiteral("Cannot print the document \"%1\"").arg(document.name));
    const MmToDevice toDevice(device);
    bool firstPage = true;
    for (const ReportPage &page : document.pages) {
        if (!firstPage)
            device.newPage();
        firstPage = false;
        for (const PlacedElement &element : page.elements) {
            const QRectF box = toDevice(element.box);
            if (element.kind == ElementKind::Shape)
                paintShape(painter, box, element);
            else
                paintText(painter, box, element);
        }
    }
    painter.end();
}

void WriteReportPdf(const ReportDocument &document, const QString &path)
{
    // The file is opened here, not by the writer, so that a file that cannot be written is
    // reported with its name, and so is a write that fails on the way.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Error(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
    {
        QPdfWriter writer(&file);
        writer.setTitle(document.name);
        PreparePage(writer);
        PaintReport(document, writer);
    }
    file.close();
    if (file.error() != QFileDevice::NoError)
        throw Error(QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString()));
}

ReportDocument RenderToPdf(const ReportLayout &layout, const QString &path)
{
    ReportDocument document = BuildReport(layout);
    WriteReportPdf(document, path);
    return document;
}

} // namespace coop
