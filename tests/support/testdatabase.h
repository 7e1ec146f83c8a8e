#pragma once

#include "data/mariadbhandles.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A fresh database with the system's schema on the test run's shared server, and a data-source
// file that points the alias MyDB3 at it (through a private XDG_CONFIG_HOME). Dropped when it goes.
class TestDatabase
{
public:
    explicit TestDatabase(bool withDemoData = false);
    ~TestDatabase();

    QString name() const { return m_name; }
    static QString socketPath();

    // An administrator's connection to the database, for setting up and checking rows.
    MYSQL *admin() { return m_admin.get(); }
    void exec(const QString &statements);
    // The rows of a SELECT, each as its column texts joined by "|" ("NULL" for NULL).
    QStringList rows(const QString &select);
    QString value(const QString &select);
    // Runs db/upgrade-journal.sql: the stock journal's opening rows for the stock rows set up.
    void upgradeJournal();
    // The journal's rows other than the opening ones, each as "kind|document|goods|shop|change|after".
    QStringList journal();

    // Rewrites the data-source file of MyDB3 (for tests of bad or changed sources).
    void writeDataSource(const QString &iniText);
    QString dataSourceText() const;

private:
    QString m_name;
    QTemporaryDir m_config;
    coop::MysqlHandle m_admin;
};
