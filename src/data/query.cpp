#include "query.h"

#include "database.h"
#include "databaseerror.h"
#include "format.h"

#include <QHash>

namespace coop {

// --- SqlLines -------------------------------------------------------------------------------

void SqlLines::changed() { m_owner.close(); }
void SqlLines::clear() { changed(); m_lines.clear(); }
void SqlLines::add(const QString &line) { changed(); m_lines.append(line); }
void SqlLines::setLines(const QStringList &lines) { changed(); m_lines = lines; }

void SqlLines::replace(int i, const QString &line)
{
    if (i < 0 || i >= m_lines.size())
        throw Error(QStringLiteral("List index out of bounds (%1)").arg(i));
    changed();
    m_lines[i] = line;
}

// --- Query ----------------------------------------------------------------------------------

namespace {

FieldType typeOfColumn(const MYSQL_FIELD &column)
{
    switch (column.type) {
    case MYSQL_TYPE_TINY:
    case MYSQL_TYPE_SHORT:
    case MYSQL_TYPE_LONG:
    case MYSQL_TYPE_INT24:
    case MYSQL_TYPE_LONGLONG:
    case MYSQL_TYPE_YEAR:
        return FieldType::Integer;
    case MYSQL_TYPE_FLOAT:
    case MYSQL_TYPE_DOUBLE:
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL:
        return FieldType::Float;
    case MYSQL_TYPE_DATE:
    case MYSQL_TYPE_NEWDATE:
        return FieldType::Date;
    default:
        return FieldType::String;
    }
}

Error fieldNotFound(const QString &name)
{
    return Error(QStringLiteral("Field '%1' not found").arg(name));
}

} // namespace

Query::Query(Database &database, QObject *parent) : QObject(parent), m_database(&database), m_sql(*this)
{
    m_database->attach(this);
}

Query::~Query()
{
    if (m_database)
        m_database->detach(this);
}

QString Query::databaseName() const { return m_database ? m_database->databaseName() : QString(); }

Field *Query::addField(const FieldDef &def)
{
    if (m_active)
        throw Error(QStringLiteral("Cannot add the field '%1' to an open query").arg(def.fieldName));
    if (!m_declaredFields)
        m_fields.clear(); // fields made from an earlier result give way to declared ones
    m_declaredFields = true;
    auto field = std::make_unique<Field>(*this, def);
    if (def.kind == FieldKind::Calculated)
        field->m_calcSlot = m_calcCount++;
    m_fields.push_back(std::move(field));
    return m_fields.back().get();
}

Field *Query::findField(const QString &name) const
{
    for (const auto &field : m_fields)
        if (field->fieldName().compare(name, Qt::CaseInsensitive) == 0)
            return field.get();
    return nullptr;
}

Field *Query::fieldByName(const QString &name) const
{
    if (Field *field = findField(name))
        return field;
    throw fieldNotFound(name);
}

void Query::setActive(bool active) { active ? open() : close(); }

void Query::open()
{
    if (m_active)
        return;
    if (!m_database)
        throw Error(QStringLiteral("The query has no database"));
    if (m_sql.count() == 0)
        throw Error(QStringLiteral("No SQL statement available"));

    m_result = m_database->select(m_sql.text());
    try {
        m_rows.clear();
        m_rows.reserve(size_t(mysql_num_rows(m_result.get())));
        while (MYSQL_ROW row = mysql_fetch_row(m_result.get()))
            m_rows.push_back(row);
        bindFields();
        m_active = true;
        computeCalculatedFields();
        applyFilter();
    } catch (...) {
        m_active = false;
        m_rows.clear();
        m_calcValues.clear();
        m_passing.clear();
        m_result.reset();
        throw;
    }
    m_current = recordCount() > 0 ? 0 : -1;
    m_bof = true;
    m_eof = m_current < 0;
    notifyReset();
    if (m_current >= 0)
        scrolled();
}

void Query::bindFields()
{
    const unsigned columns = mysql_num_fields(m_result.get());
    const MYSQL_FIELD *meta = mysql_fetch_fields(m_result.get());

    // A repeated column name gets "_1", "_2", ... in the order the columns come.
    QStringList names;
    QHash<QString, int> seen;
    for (unsigned i = 0; i < columns; ++i) {
        const QString name = QString::fromUtf8(meta[i].name);
        int &repeats = seen[name.toLower()];
        names.append(repeats == 0 ? name : name + u'_' + QString::number(repeats));
        ++repeats;
        if (repeats > 1)
            seen[names.last().toLower()]++;
    }

    if (!m_declaredFields) {
        m_fields.clear();
        for (unsigned i = 0; i < columns; ++i) {
            FieldDef def;
            def.fieldName = names[int(i)];
            def.type = typeOfColumn(meta[i]);
            if (def.type == FieldType::String)
                def.size = int(meta[i].charsetnr == 63 ? meta[i].length : meta[i].length / 4);
            auto field = std::make_unique<Field>(*this, def);
            field->m_column = int(i);
            m_fields.push_back(std::move(field));
        }
        return;
    }
    for (const auto &field : m_fields) {
        if (field->fieldKind() == FieldKind::Calculated)
            continue;
        field->m_column = -1;
        for (qsizetype i = 0; i < names.size(); ++i)
            if (names[i].compare(field->fieldName(), Qt::CaseInsensitive) == 0) {
                field->m_column = int(i);
                break;
            }
        if (field->m_column < 0)
            throw fieldNotFound(field->fieldName());
    }
}

void Query::computeCalculatedFields()
{
    m_calcValues.assign(size_t(m_calcCount) * m_rows.size(), QVariant());
    if (m_calcCount == 0)
        return;
    // However the handlers end, fields read the current row again afterwards.
    struct CalcRowReset
    {
        int &row;
        ~CalcRowReset() { row = -1; }
    } reset{m_calcRow};
    for (int row = 0; row < int(m_rows.size()); ++row) {
        m_calcRow = row;
        if (m_calcFieldsHandler)
            m_calcFieldsHandler();
        emit calcFields();
    }
}

void Query::applyFilter()
{
    m_passing.clear();
    if (!m_active || !m_filtered || !m_filterExpression)
        return;
    m_filterExpression->bind([this](const QString &name) {
        const Field *field = fieldByName(name);
        return FilterExpression::Binding{field->dataType(), field->m_column, field->m_calcSlot};
    });
    const FilterExpression::Rows rows{m_rows, m_calcValues, m_calcCount};
    m_passing.reserve(m_rows.size() / 4);
    for (int row = 0; row < int(m_rows.size()); ++row)
        if (m_filterExpression->matches(rows, row))
            m_passing.push_back(row);
}

void Query::close()
{
    if (!m_active)
        return;
    m_active = false;
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_calcValues.clear();
    m_passing.clear();
    m_result.reset();
    m_current = -1;
    m_bof = m_eof = true;
    notifyReset();
}

quint64 Query::execSql()
{
    if (!m_database)
        throw Error(QStringLiteral("The query has no database"));
    if (m_sql.count() == 0)
        throw Error(QStringLiteral("No SQL statement available"));
    close();
    return m_database->execute(m_sql.text());
}

int Query::recordCount() const
{
    if (!m_active)
        return 0;
    return filtering() ? int(m_passing.size()) : int(m_rows.size());
}

bool Query::filtering() const { return m_filtered && m_filterExpression; }

const char *Query::raw(int rawRow, int column) const
{
    if (!m_active || rawRow < 0 || size_t(rawRow) >= m_rows.size())
        return nullptr;
    return m_rows[size_t(rawRow)][column];
}

void Query::requireActive() const
{
    if (!m_active)
        throw Error(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void Query::moveTo(int row)
{
    m_current = row;
    notifyCurrent();
}

void Query::first()
{
    requireActive();
    moveTo(recordCount() > 0 ? 0 : -1);
    m_bof = true;
    m_eof = m_current < 0;
    scrolled();
}

void Query::last()
{
    requireActive();
    moveTo(recordCount() - 1);
    m_eof = true;
    m_bof = m_current < 0;
    scrolled();
}

void Query::next() { moveBy(1); }
void Query::prior() { moveBy(-1); }

int Query::moveBy(int distance)
{
    requireActive();
    const int count = recordCount();
    if (count == 0) {
        m_bof = m_eof = true;
        return 0;
    }
    const int target = std::clamp(m_current + distance, 0, count - 1);
    const int moved = target - m_current;
    m_eof = distance > 0 && moved < distance;
    m_bof = distance < 0 && moved > distance;
    if (moved != 0) {
        moveTo(target);
        scrolled();
    }
    return moved;
}

void Query::setRecNo(int row)
{
    requireActive();
    if (row < 0 || row >= recordCount() || row == m_current)
        return;
    m_bof = m_eof = false;
    moveTo(row);
    scrolled();
}

bool Query::locate(const QString &fieldName, const QVariant &value)
{
    requireActive();
    const Field *field = fieldByName(fieldName);
    const int count = recordCount();
    const bool numeric = field->dataType() == FieldType::Integer || field->dataType() == FieldType::Float;
    bool ok = false;
    const double number = numeric ? value.toString().trimmed().toDouble(&ok) : 0;
    if (numeric && !ok)
        return false;
    const QString text = value.toString();
    for (int row = 0; row < count; ++row) {
        const int source = rawRow(row);
        const bool same = numeric ? (field->rawOf(source) && ReadServerNumber(field->rawOf(source)) == number)
                                  : field->textOf(source) == text;
        if (same) {
            m_bof = m_eof = false;
            moveTo(row);
            scrolled();
            return true;
        }
    }
    return false;
}

void Query::setFilter(const QString &expression)
{
    std::unique_ptr<FilterExpression> parsed;
    if (!expression.trimmed().isEmpty())
        parsed = FilterExpression::parse(expression);
    const QString previousText = m_filterText;
    std::unique_ptr<FilterExpression> previous = std::move(m_filterExpression);
    m_filterText = expression;
    m_filterExpression = std::move(parsed);
    if (m_active && m_filtered) {
        try {
            applyFilter();
        } catch (...) {
            m_filterText = previousText;
            m_filterExpression = std::move(previous);
            applyFilter();
            throw;
        }
        notifyReset();
        first();
    }
}

void Query::setFiltered(bool filtered)
{
    if (filtered == m_filtered)
        return;
    m_filtered = filtered;
    if (!m_active)
        return;
    try {
        applyFilter();
    } catch (...) {
        m_filtered = !filtered;
        applyFilter();
        throw;
    }
    notifyReset();
    first();
}

void Query::disableControls() { ++m_disableCount; }

void Query::enableControls()
{
    if (m_disableCount == 0)
        return;
    if (--m_disableCount == 0) {
        emit dataReset();
        emit currentChanged(m_current);
    }
}

void Query::notifyReset()
{
    if (m_disableCount == 0)
        emit dataReset();
}

void Query::notifyCurrent()
{
    if (m_disableCount == 0)
        emit currentChanged(m_current);
}

void Query::scrolled()
{
    if (m_afterScrollHandler)
        m_afterScrollHandler();
    emit afterScroll();
}

QString Query::displayText(int row, const Field *field) const
{
    if (row < 0 || row >= recordCount())
        return {};
    return field->textOf(rawRow(row));
}

QVariant Query::value(int row, const Field *field) const
{
    if (row < 0 || row >= recordCount())
        return {};
    return field->valueOf(rawRow(row));
}

} // namespace coop
