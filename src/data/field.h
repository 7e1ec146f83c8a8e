#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

namespace coop {

class Query;

enum class FieldType { Integer, String, Float, Date };
enum class FieldKind { Data, Calculated };

// What a screen declares of a field: its column, type, title and width in the grid.
struct FieldDef
{
    QString fieldName;
    FieldType type = FieldType::String;
    int size = 0;              // characters, for strings
    QString displayLabel;      // the grid's column title; the field name when empty
    int displayWidth = 0;      // characters; 0: the size for strings, 10 otherwise
    bool visible = true;
    FieldKind kind = FieldKind::Data;
};

// One field of a query. It reads the query's current row (or, inside OnCalcFields, the row being
// calculated); the raw server text is converted only when read.
class Field
{
public:
    Field(Query &query, FieldDef def);

    QString fieldName() const { return m_def.fieldName; }
    FieldType dataType() const { return m_def.type; }
    FieldKind fieldKind() const { return m_def.kind; }
    int size() const { return m_def.size; }
    QString displayLabel() const { return m_def.displayLabel.isEmpty() ? m_def.fieldName : m_def.displayLabel; }
    void setDisplayLabel(const QString &label) { m_def.displayLabel = label; }
    int displayWidth() const;
    void setDisplayWidth(int width) { m_def.displayWidth = width; }
    bool visible() const { return m_def.visible; }
    void setVisible(bool visible) { m_def.visible = visible; }

    bool isNull() const;
    // Field text: integers as decimal digits, floats as locale number text, dates as locale date
    // text, strings as stored, NULL as the empty text.
    QString asString() const;
    qint64 asInteger() const; // NULL reads 0
    double asFloat() const;   // NULL reads 0
    QDate asDate() const;     // NULL reads an invalid date
    QVariant value() const;

    // Only inside OnCalcFields, for a calculated field.
    void setValue(const QVariant &value);

private:
    friend class Query;
    QString textOf(int rawRow) const;
    QVariant valueOf(int rawRow) const;
    const char *rawOf(int rawRow) const;

    Query &m_query;
    FieldDef m_def;
    int m_column = -1;    // result column of a data field while open
    int m_calcSlot = -1;  // slot among the calculated values
};

// Conversions of one raw server text by field type, shared by fields and the filter.
QString fieldText(FieldType type, const char *raw);
QVariant fieldValue(FieldType type, const char *raw);

} // namespace coop
