#include "reports/reportbuilder.h"

#include "data/databaseerror.h"
#include "data/format.h"
#include "data/query.h"
#include "reports/reportexpression.h"
#include "reports/reportfonts.h"

#include <QHash>

#include <algorithm>
#include <optional>

namespace coop {

namespace {

// A band element with what it needs, prepared once before the rows are walked.
struct PreparedElement
{
    const ReportElement &source;
    TextMeasure measure;
    std::optional<ReportExpression> expression;
    const Field *field = nullptr; // data texts
    bool readsRow = false;        // blank in the empty row of an empty query
};

struct PreparedBand
{
    BandKind kind;
    double height;
    std::vector<PreparedElement> shapes;
    std::vector<PreparedElement> texts;
};

// A field's number as the field holds it: an integer field's whole number, which is also what its
// text shows, so that a total agrees with the rows printed above it. It is read as a double, which
// also holds an integer field's whole number beyond the 64-bit range.
double numberOf(const Field &field)
{
    return field.asFloat();
}

// The aggregates over the rows printed so far, and the fields of the row being printed.
class Totals : public ExpressionContext
{
public:
    // `rows` is null when the detail query has no rows to walk: fields then read 0.
    Totals(const Query *rows, const QStringList &summedFields) : m_rows(rows)
    {
        if (!m_rows)
            return;
        for (const QString &name : summedFields) {
            const Field *field = m_rows->fieldByName(name);
            if (std::none_of(m_sums.begin(), m_sums.end(), [&](const auto &sum) { return sum.first == field; }))
                m_sums.push_back({field, 0.0});
        }
    }

    void addRow()
    {
        ++m_count;
        for (auto &[field, total] : m_sums)
            total += numberOf(*field);
    }

    double field(const QString &name) const override { return m_rows ? numberOf(*m_rows->fieldByName(name)) : 0; }
    double sum(const QString &fieldName) const override
    {
        for (const auto &[field, total] : m_sums)
            if (field->fieldName().compare(fieldName, Qt::CaseInsensitive) == 0)
                return total;
        return 0; // no rows were printed
    }
    double count() const override { return m_count; }

private:
    const Query *m_rows;
    std::vector<std::pair<const Field *, double>> m_sums;
    int m_count = 0;
};

class Builder
{
public:
    explicit Builder(const ReportLayout &layout)
        : m_rows(layout.detailQuery && layout.detailQuery->active() && !layout.detailQuery->isEmpty()
                     ? layout.detailQuery : nullptr)
        , m_title(prepare(layout.title, BandKind::Title))
        , m_detail(prepare(layout.detail, BandKind::Detail))
        , m_summary(prepare(layout.summary, BandKind::Summary))
        , m_totals(m_rows, m_summedFields)
    {
        m_document.name = layout.name;
        m_document.printedAt = QDateTime::currentDateTime();
        m_document.pages.emplace_back();
    }

    ReportDocument build()
    {
        place(m_title, false);
        if (m_rows) {
            ControlsDisabled disabled(*m_rows);
            m_rows->first();
            do {
                m_totals.addRow();
                ++m_document.detailRows;
                place(m_detail, false);
            } while (m_rows->moveBy(1) == 1);
        } else {
            place(m_detail, true);
        }
        place(m_summary, false);
        return std::move(m_document);
    }

private:
    PreparedBand prepare(const ReportBand &band, BandKind kind)
    {
        PreparedBand prepared{kind, band.height, {}, {}};
        for (const ReportElement &element : band.elements) {
            PreparedElement item{element, TextMeasure(element.font), std::nullopt, nullptr, false};
            switch (element.kind) {
            case ElementKind::Shape:
                prepared.shapes.push_back(std::move(item));
                continue;
            case ElementKind::DataText:
                prepareField(item, kind);
                break;
            case ElementKind::Expression:
                item.expression.emplace(element.text);
                prepareExpression(item, kind);
                break;
            default:
                break;
            }
            prepared.texts.push_back(std::move(item));
        }
        return prepared;
    }

    void prepareExpression(PreparedElement &item, BandKind kind)
    {
        const QStringList rowFields = item.expression->rowFields();
        item.readsRow = kind == BandKind::Detail && !rowFields.isEmpty();
        m_summedFields.append(item.expression->summedFields());
        if (m_rows)
            for (const QString &name : rowFields + item.expression->summedFields())
                m_rows->fieldByName(name); // a missing field is reported before the rows move
    }

    void prepareField(PreparedElement &item, BandKind kind)
    {
        const Query *query = item.source.query;
        if (!query && kind == BandKind::Detail) {
            item.readsRow = true;
            query = m_rows;
            if (!query)
                return; // the empty row prints no field
        }
        if (!query)
            throw Error(QStringLiteral("Report field '%1' has no query").arg(item.source.text));
        item.field = query->fieldByName(item.source.text);
    }

    QString textOf(const PreparedElement &item, bool emptyRow) const
    {
        if (emptyRow && item.readsRow)
            return {};
        switch (item.source.kind) {
        case ElementKind::Label: return item.source.text;
        case ElementKind::DataText: return item.field->asString();
        case ElementKind::Expression: return LocaleNumberText(item.expression->evaluate(m_totals));
        case ElementKind::SystemDate: return LocaleDateText(m_document.printedAt.date());
        case ElementKind::SystemDateTime:
            return LocaleDateText(m_document.printedAt.date()) + u' '
                   + m_document.printedAt.time().toString(QLatin1String(LongTimeFormat));
        case ElementKind::Shape: break;
        }
        return {};
    }

    void place(const PreparedBand &band, bool emptyRow)
    {
        // A band taller than a whole page stays where it is rather than paging for ever.
        if (m_top > 0 && m_top + band.height > BandAreaHeightMm + 1e-9) {
            m_document.pages.emplace_back();
            m_top = 0;
        }
        auto &elements = m_document.pages.back().elements;
        const double bandLeft = PageMarginMm;
        const double bandTop = PageMarginMm + m_top;
        for (const PreparedElement &item : band.shapes) {
            const ReportElement &e = item.source;
            elements.push_back({e.kind, band.kind, QString(),
                                QRectF(bandLeft + e.x, bandTop + e.y, e.width, e.height), e.font, e.alignment,
                                e.fill});
        }
        for (const PreparedElement &item : band.texts) {
            const ReportElement &e = item.source;
            QString text = textOf(item, emptyRow);
            const QSizeF textSize = item.measure.sizeMm(text);
            const double width = std::max(e.width, textSize.width());
            const double height = std::max(e.height, textSize.height());
            const double left = e.alignment == Alignment::Centre ? e.x + e.width / 2 - width / 2 : e.x;
            elements.push_back({e.kind, band.kind, std::move(text),
                                QRectF(bandLeft + left, bandTop + e.y, width, height), e.font, e.alignment,
                                e.fill});
        }
        m_top += band.height;
    }

    Query *m_rows; // the detail query while it has rows to walk
    QStringList m_summedFields;
    PreparedBand m_title, m_detail, m_summary;
    Totals m_totals;
    ReportDocument m_document;
    double m_top = 0; // mm below the top margin of the current page
};

} // namespace

ReportDocument BuildReport(const ReportLayout &layout)
{
    return Builder(layout).build();
}

} // namespace coop
