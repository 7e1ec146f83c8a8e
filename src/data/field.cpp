#include "field.h"

#include "databaseerror.h"
#include "format.h"
#include "query.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace coop {

QString fieldText(FieldType type, const char *raw)
{
    if (!raw)
        return {};
    switch (type) {
    case FieldType::Integer:
        return QString::fromLatin1(raw);
    case FieldType::Float:
        return LocaleNumberText(ReadServerNumber(raw));
    case FieldType::Date:
        // The server sends YYYY-MM-DD; the field text is the locale date text dd.MM.yyyy.
        if (std::strlen(raw) == 10 && raw[4] == '-' && raw[7] == '-') {
            const char text[10] = {raw[8], raw[9], '.', raw[5], raw[6], '.', raw[0], raw[1], raw[2], raw[3]};
            return QString::fromLatin1(text, 10);
        }
        return QString::fromLatin1(raw);
    case FieldType::String:
        return QString::fromUtf8(raw);
    }
    return {};
}

QVariant fieldValue(FieldType type, const char *raw)
{
    if (!raw)
        return {};
    switch (type) {
    case FieldType::Integer:
        return QVariant(qlonglong(std::strtoll(raw, nullptr, 10)));
    case FieldType::Float:
        return QVariant(ReadServerNumber(raw));
    case FieldType::Date: {
        const qint64 day = SqlDateJulianDay(raw, qsizetype(std::strlen(raw)));
        return day ? QVariant(QDate::fromJulianDay(day)) : QVariant();
    }
    case FieldType::String:
        return QVariant(QString::fromUtf8(raw));
    }
    return {};
}

Field::Field(Query &query, FieldDef def) : m_query(query), m_def(std::move(def)) {}

int Field::displayWidth() const
{
    if (m_def.displayWidth > 0)
        return m_def.displayWidth;
    return m_def.type == FieldType::String && m_def.size > 0 ? m_def.size : 10;
}

const char *Field::rawOf(int rawRow) const
{
    if (rawRow < 0 || m_column < 0)
        return nullptr;
    return m_query.raw(rawRow, m_column);
}

QString Field::textOf(int rawRow) const
{
    if (m_calcSlot >= 0) {
        const QVariant value = valueOf(rawRow);
        if (value.isNull() || !value.isValid())
            return {};
        switch (m_def.type) {
        case FieldType::Integer:
            // A product beyond the 64-bit range is kept as a whole double (see setValue).
            return value.typeId() == QMetaType::Double ? WholeNumberText(value.toDouble())
                                                      : QString::number(value.toLongLong());
        case FieldType::Float: return LocaleNumberText(value.toDouble());
        case FieldType::Date: return LocaleDateText(value.toDate());
        case FieldType::String: return value.toString();
        }
    }
    return fieldText(m_def.type, rawOf(rawRow));
}

QVariant Field::valueOf(int rawRow) const
{
    if (m_calcSlot >= 0) {
        if (rawRow < 0)
            return {};
        return m_query.m_calcValues[size_t(rawRow) * size_t(m_query.m_calcCount) + size_t(m_calcSlot)];
    }
    return fieldValue(m_def.type, rawOf(rawRow));
}

bool Field::isNull() const
{
    const QVariant v = valueOf(m_query.readRow());
    return !v.isValid() || v.isNull();
}

QString Field::asString() const { return textOf(m_query.readRow()); }

qint64 Field::asInteger() const
{
    const QVariant v = valueOf(m_query.readRow());
    if (!v.isValid() || v.isNull())
        return 0;
    if (m_def.type == FieldType::String) {
        bool ok = false;
        const qint64 number = v.toString().trimmed().toLongLong(&ok);
        if (!ok)
            throw Error(QStringLiteral("'%1' is not a valid integer value").arg(v.toString()));
        return number;
    }
    return m_def.type == FieldType::Float ? qint64(v.toDouble()) : v.toLongLong();
}

double Field::asFloat() const
{
    const QVariant v = valueOf(m_query.readRow());
    if (!v.isValid() || v.isNull())
        return 0;
    if (m_def.type == FieldType::String)
        return ReadTypedNumber(v.toString());
    return v.toDouble();
}

QDate Field::asDate() const
{
    const QVariant v = valueOf(m_query.readRow());
    if (m_def.type == FieldType::String && v.isValid())
        return ReadLocaleDate(v.toString());
    return v.toDate();
}

QVariant Field::value() const { return valueOf(m_query.readRow()); }

void Field::setValue(const QVariant &value)
{
    if (m_calcSlot < 0)
        throw Error(QStringLiteral("Field '%1' cannot be modified").arg(m_def.fieldName));
    const int row = m_query.readRow();
    if (row < 0)
        throw Error(QStringLiteral("Field '%1' has no row to set").arg(m_def.fieldName));
    QVariant stored = value;
    // An integer field keeps a whole number, rounded half to even (3 × 2,5 gives 8, 5 × 2,5 gives 12);
    // one beyond the 64-bit range stays a whole double rather than wrap round.
    if (m_def.type == FieldType::Integer && value.isValid() && !value.isNull()) {
        const double whole = RoundHalfToEven(value.toDouble());
        constexpr double Limit = 9223372036854775808.0; // 2^63
        stored = whole >= -Limit && whole < Limit ? QVariant(qlonglong(whole)) : QVariant(whole);
    }
    m_query.m_calcValues[size_t(row) * size_t(m_query.m_calcCount) + size_t(m_calcSlot)] = stored;
}

} // namespace coop
