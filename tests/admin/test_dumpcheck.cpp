// The check a copy passes before it is restored: what mariadb-dump writes for one database's
// tables goes through whole, in pieces of any size; anything that would reach past those tables
// is refused with its line and first words, and nothing after it is handed out.
#include "admin/dumpcheck.h"
#include "data/databaseerror.h"

#include <QTest>

using namespace coop;

namespace {

// The shape of a copy as mariadb-dump 10.11 writes it, with a row of every kind of value.
const QByteArray Copy = R"(/*M!999999\- enable the sandbox mode */ 
-- MariaDB dump 10.19  Distrib 10.11.19-MariaDB, for debian-linux-gnu (x86_64)
--
-- Host: localhost    Database: 190400
/*!40101 SET @OLD_CHARACTER_SET_CLIENT=@@CHARACTER_SET_CLIENT */;
/*!40101 SET NAMES utf8mb4 */;
/*!40103 SET @OLD_TIME_ZONE=@@TIME_ZONE */;
/*!40103 SET TIME_ZONE='+00:00' */;
/*!40014 SET @OLD_UNIQUE_CHECKS=@@UNIQUE_CHECKS, UNIQUE_CHECKS=0 */;
/*!40101 SET @OLD_SQL_MODE=@@SQL_MODE, SQL_MODE='NO_AUTO_VALUE_ON_ZERO' */;
/*M!100616 SET @OLD_NOTE_VERBOSITY=@@NOTE_VERBOSITY, NOTE_VERBOSITY=0 */;

--
-- Table structure for table `tovary`
--

DROP TABLE IF EXISTS `tovary`;
/*!40101 SET @saved_cs_client     = @@character_set_client */;
/*!40101 SET character_set_client = utf8mb4 */;
CREATE TABLE `tovary` (
  `Id` int(11) NOT NULL AUTO_INCREMENT,
  `NazvaTovary` varchar(40) DEFAULT NULL,
  `Cina` decimal(10,2) DEFAULT 0.00,
  `Moment` datetime(6) NOT NULL DEFAULT current_timestamp(6),
  PRIMARY KEY (`Id`),
  KEY `tovary_nazva` (`NazvaTovary`(20),`Id`)
) ENGINE=InnoDB AUTO_INCREMENT=35 DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci;
/*!40101 SET character_set_client = @saved_cs_client */;

LOCK TABLES `tovary` WRITE;
SET @OLD_AUTOCOMMIT=@@AUTOCOMMIT, @@AUTOCOMMIT=0;
/*!40000 ALTER TABLE `tovary` DISABLE KEYS */;
INSERT INTO `tovary` VALUES
(1,'Кав\'ярня; \\ (1),(2)',-1.5e-7,'2011-05-12 00:00:00.000000'),
(2,'O''Brien -- #',NULL,_binary 'a;b'),
(3,"two\nlines",0x1F,X'0A');
/*!40000 ALTER TABLE `tovary` ENABLE KEYS */;
COMMIT;
UNLOCK TABLES;
SET AUTOCOMMIT=@OLD_AUTOCOMMIT;
/*!40101 SET SQL_MODE=@OLD_SQL_MODE */;
/*!40101 SET CHARACTER_SET_CLIENT=@OLD_CHARACTER_SET_CLIENT */;

-- Dump completed
)";

// Feeds the text in pieces of `size` bytes; answers what was handed out, or the refusal.
QString check(const QByteArray &text, qsizetype size, QByteArray *handedOut = nullptr)
{
    DumpCheck dump;
    QByteArray out;
    try {
        for (qsizetype at = 0; at < text.size(); at += size) {
            dump.feed(text.mid(at, size));
            out += dump.takeChecked();
        }
        dump.finish();
        out += dump.takeChecked();
    } catch (const Error &refusal) {
        out += dump.takeChecked();
        if (handedOut)
            *handedOut = out;
        return refusal.text();
    }
    if (handedOut)
        *handedOut = out;
    return {};
}

} // namespace

class TestDumpCheck : public QObject
{
    Q_OBJECT

private slots:
    // The whole copy goes through unchanged, however it is cut into pieces.
    void copyPassesInAnyPieces_data()
    {
        QTest::addColumn<int>("size");
        for (int size : {1, 2, 3, 7, 40, 4096, int(Copy.size())})
            QTest::addRow("%d", size) << size;
    }
    void copyPassesInAnyPieces()
    {
        QFETCH(int, size);
        QByteArray out;
        QCOMPARE(check(Copy, size, &out), QString());
        QCOMPARE(out, Copy);
    }

    // Each hostile line put into the copy after its tables: refused with its line and first
    // words, and nothing from that statement on is handed out.
    void hostileStatementsRefused_data()
    {
        QTest::addColumn<QByteArray>("statement");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<int>("passing"); // how much of the statement is sound and goes out before the refusal
        const auto add = [](const char *name, const char *statement, const char *refusal, int passing = 0) {
            QTest::newRow(name) << QByteArray(statement) << QString::fromUtf8(refusal) << passing;
        };
        add("shell", "\\! touch /tmp/x\n", "«\\!»: команда клієнта");
        add("shell after a statement", "COMMIT; \\! touch /tmp/x\n", "«\\!»: команда клієнта", 7);
        add("go", "COMMIT \\g\n", "«\\g»: команда клієнта");
        add("system", "system touch /tmp/x\n", "«system touch /»");
        add("source", "source /etc/passwd\n", "«source / etc»");
        add("delimiter", "DELIMITER ;;\n", "«DELIMITER»");
        add("use", "USE mysql;\n", "«USE mysql»: він стосується іншої бази");
        add("create database", "CREATE DATABASE evil;\n", "іншої бази");
        add("drop database", "/*!40000 DROP DATABASE IF EXISTS `190400`*/;\n", "іншої бази");
        add("user", "CREATE USER 'x'@'%' IDENTIFIED BY 'secret';\n", "«CREATE USER '…'»: облікові записи");
        add("grant", "GRANT ALL ON *.* TO 'kasa'@'%';\n", "облікові записи");
        add("grant in a versioned comment", "/*!40101 GRANT ALL ON *.* TO kasa */;\n", "облікові записи");
        add("password", "SET PASSWORD FOR root = PASSWORD('x');\n", "змінні сеансу");
        add("global variable", "SET GLOBAL general_log_file='/tmp/x';\n", "змінні сеансу");
        add("session variable of the server", "SET @@session.sql_log_bin=0;\n", "змінні сеансу");
        add("trigger", "/*!50003 CREATE*/ /*!50017 DEFINER=`root`@`localhost`*/ /*!50003 TRIGGER t BEFORE INSERT ON tovary FOR EACH ROW SET NEW.Id=1 */;\n",
            "«CREATE DEFINER =»: тригерів");
        add("procedure", "CREATE PROCEDURE p() SELECT 1;\n", "тригерів");
        add("view", "CREATE ALGORITHM=UNDEFINED VIEW v AS SELECT * FROM mysql.user;\n", "тригерів");
        add("event", "CREATE EVENT e ON SCHEDULE EVERY 1 DAY DO DELETE FROM tovary;\n", "тригерів");
        add("load data", "LOAD DATA INFILE '/etc/passwd' INTO TABLE tovary;\n", "файли сервера");
        add("select into", "SELECT * FROM tovary INTO OUTFILE '/tmp/x';\n", "файли сервера");
        add("another database's table", "INSERT INTO mysql.user VALUES ('x');\n", "«INSERT INTO mysql»: він називає таблицю іншої бази");
        add("another database's drop", "DROP TABLE IF EXISTS `mysql`.`user`;\n", "іншої бази");
        add("data directory", "CREATE TABLE t (a int) DATA DIRECTORY='/tmp';\n", "DIRECTORY");
        add("created from a query", "CREATE TABLE t AS SELECT * FROM mysql.user;\n", "«CREATE TABLE t»");
        add("federated", "CREATE TABLE t (a int) ENGINE=CONNECT TABLE_TYPE=MYSQL;\n", "рушії");
        add("file in a default", "CREATE TABLE t (a text DEFAULT (load_file('/etc/shadow')));\n", "load_file");
        add("quoted function in a default", "CREATE TABLE t (a text DEFAULT (`sys_exec`('id')));\n", "функція `sys_exec`");
        add("file in a value", "INSERT INTO `tovary` VALUES (9, LOAD_FILE('/etc/shadow'));\n", "не значення, а вираз");
        add("subquery in a value", "INSERT INTO `tovary` VALUES (9, (SELECT 1));\n", "не значення, а вираз");
        add("update", "INSERT INTO `tovary` VALUES (1) ON DUPLICATE KEY UPDATE Id=2;\n", "не значення, а вираз");
        QTest::newRow("nul byte") << QByteArray("COMMIT;\0\n", 9) << QStringLiteral("нульовий байт") << 7;
        add("escapes unknown", "SET SQL_MODE=@x;\nINSERT INTO t VALUES ('a\\'); \\! touch /tmp/x; -- ');\n", "зворотна скісна риска", 16);
        add("no backslash escapes", "SET SQL_MODE='NO_BACKSLASH_ESCAPES';\n", "зворотною скісною рискою");
        add("multi-byte charset", "SET NAMES gbk;\n", "змінні сеансу");
        add("semicolon in a versioned comment", "/*!40101 SET NAMES utf8mb4; GRANT ALL ON *.* TO x */;\n", "«;» усередині");
        add("unclosed string", "INSERT INTO `tovary` VALUES ('open\n", "лапки не закрито");
    }
    void hostileStatementsRefused()
    {
        QFETCH(QByteArray, statement);
        QFETCH(QString, refusal);
        QFETCH(int, passing);
        const QByteArray copy = Copy + statement + "INSERT INTO `tovary` VALUES (10,'after');\n";
        for (qsizetype size : {qsizetype(1), qsizetype(64), copy.size()}) {
            QByteArray out;
            const QString text = check(copy, size, &out);
            QVERIFY2(text.contains(refusal), qPrintable(text));
            QVERIFY2(text.startsWith(QStringLiteral("рядок ")), qPrintable(text));
            // What goes out ends with the last sound statement's ";".
            const QByteArray sound = passing ? Copy + statement.left(passing) : Copy.left(Copy.lastIndexOf(';') + 1);
            QCOMPARE(out, sound);
        }
    }

    // The refusal names the line the statement starts on.
    void refusalNamesTheLine()
    {
        QCOMPARE(check("SET NAMES utf8mb4;\n\n-- a comment\n  GRANT ALL\n ON *.* TO x;\n", 5),
                 QStringLiteral("рядок 4, «GRANT ALL ON»: облікові записи й права копія бази не змінює"));
    }
};

QTEST_GUILESS_MAIN(TestDumpCheck)
#include "test_dumpcheck.moc"
