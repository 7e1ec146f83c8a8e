#pragma once

#include "field.h"
#include "filterexpression.h"
#include "mariadbhandles.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace coop {

class Database;

// The text of a query: lines sent as one statement. Changing it closes the query.
class SqlLines
{
public:
    void clear();
    void add(const QString &line);
    int count() const { return int(m_lines.size()); }
    QString operator[](int i) const { return m_lines.at(i); }
    void replace(int i, const QString &line);
    void setLines(const QStringList &lines);
    QStringList lines() const { return m_lines; }
    QString text() const { return m_lines.join(u'\n'); }

private:
    friend class Query;
    explicit SqlLines(Query &owner) : m_owner(owner) {}
    void changed();
    Query &m_owner;
    QStringList m_lines;
};

// The query object of every screen. Opening keeps the whole result on the client as the server
// sent it; fields convert a value only when it is read. The current row, the client-side filter,
// AfterScroll and OnCalcFields behave as the screens rely on; grids follow through the signals and
// read any row without moving the current one.
//
// A screen's AfterScroll and OnCalcFields handlers are called directly, before the signals of the
// same names, never through signal dispatch: an error one of them raises goes on to whatever opened
// or moved the query, as an error of the query's own would. The signals are for observers that do
// not fail (tests, grids).
class Query : public QObject
{
    Q_OBJECT

public:
    explicit Query(Database &database, QObject *parent = nullptr);
    ~Query() override;

    SqlLines &sql() { return m_sql; }
    const SqlLines &sql() const { return m_sql; }
    QString databaseName() const;
    Database *database() const { return m_database; }

    // Declared fields, in grid order. Only declared fields exist while there are any; a query that
    // declares none gets one field per result column.
    Field *addField(const FieldDef &def);
    int fieldCount() const { return int(m_fields.size()); }
    Field *field(int i) const { return m_fields.at(size_t(i)).get(); }
    Field *fieldByName(const QString &name) const; // raises "Field '<name>' not found"
    Field *findField(const QString &name) const;
    Field *operator[](const QString &name) const { return fieldByName(name); }

    bool active() const { return m_active; }
    void setActive(bool active);
    void open();
    void close();
    // Runs INSERT, UPDATE or DELETE; the query stays closed. Returns the affected rows.
    quint64 execSql();

    bool isEmpty() const { return recordCount() == 0; }
    int recordCount() const;
    int recNo() const { return m_current; } // index of the current row among those that pass; -1 when none
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    void first();
    void last();
    void next();
    void prior();
    int moveBy(int distance); // the rows actually moved
    // Makes row `row` (among those that pass) current, as a click in a grid does.
    void setRecNo(int row);
    // The first passing row whose field equals the value becomes current (true); else false and
    // the position is kept.
    bool locate(const QString &fieldName, const QVariant &value);

    QString filter() const { return m_filterText; }
    void setFilter(const QString &expression);
    bool filtered() const { return m_filtered; }
    void setFiltered(bool filtered);

    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disableCount > 0; }

    // The screen's handlers of AfterScroll and OnCalcFields; one each, an empty one for none.
    void setAfterScroll(std::function<void()> handler) { m_afterScrollHandler = std::move(handler); }
    void setOnCalcFields(std::function<void()> handler) { m_calcFieldsHandler = std::move(handler); }

    // For grids: any passing row, without moving the current one.
    QString displayText(int row, const Field *field) const;
    QVariant value(int row, const Field *field) const;

signals:
    void afterScroll();
    // Emitted for every fetched row; calculated fields are set with Field::setValue.
    void calcFields();
    // The rows or the fields a grid shows changed (open, close, filter, enableControls).
    void dataReset();
    // The current row moved; -1 when there is none.
    void currentChanged(int row);

private:
    friend class Field;
    friend class Database;
    friend class SqlLines;

    void bindFields();
    void computeCalculatedFields();
    void applyFilter();
    bool filtering() const;
    void requireActive() const;
    int rawRow(int row) const { return filtering() ? m_passing[size_t(row)] : row; }
    int readRow() const { return m_calcRow >= 0 ? m_calcRow : (m_current >= 0 ? rawRow(m_current) : -1); }
    const char *raw(int rawRow, int column) const;
    void moveTo(int row);
    void notifyReset();
    void notifyCurrent();
    void scrolled();

    Database *m_database;
    SqlLines m_sql;
    std::vector<std::unique_ptr<Field>> m_fields;
    bool m_declaredFields = false;
    int m_calcCount = 0;

    bool m_active = false;
    MysqlResult m_result;
    std::vector<MYSQL_ROW> m_rows;
    std::vector<QVariant> m_calcValues; // m_calcCount per row
    int m_calcRow = -1;

    int m_current = -1;
    bool m_bof = true;
    bool m_eof = true;

    QString m_filterText;
    bool m_filtered = false;
    std::unique_ptr<FilterExpression> m_filterExpression;
    std::vector<int> m_passing; // raw rows that pass, while filtered

    int m_disableCount = 0;
    std::function<void()> m_afterScrollHandler;
    std::function<void()> m_calcFieldsHandler;
};

// Holds a query's grids still for a scope, as a walk over its rows wants; released however the
// scope is left.
class ControlsDisabled
{
public:
    explicit ControlsDisabled(Query &query) : m_query(query) { m_query.disableControls(); }
    ~ControlsDisabled() { m_query.enableControls(); }
    ControlsDisabled(const ControlsDisabled &) = delete;
    ControlsDisabled &operator=(const ControlsDisabled &) = delete;

private:
    Query &m_query;
};

} // namespace coop
