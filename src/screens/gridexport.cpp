#include "gridexport.h"

#include "data/databaseerror.h"
#include "data/query.h"
#include "widgets/messages.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <xlsxwriter.h>

#include <memory>

namespace coop {

namespace {

constexpr double WidthOfFieldsWithoutSize = 12;

// The workbook is the library's own resource: closed (and so written) exactly once.
struct WorkbookCloser
{
    void operator()(lxw_workbook *workbook) const { workbook_close(workbook); }
};
using Workbook = std::unique_ptr<lxw_workbook, WorkbookCloser>;

void check(lxw_error error, const char *what)
{
    if (error != LXW_NO_ERROR)
        throw Error(QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromUtf8(lxw_strerror(error))));
}

// A worksheet name may not hold []:*?/\ nor exceed 31 characters.
QByteArray sheetName(const QString &caption)
{
    QString name = caption;
    for (QChar bad : {u'[', u']', u':', u'*', u'?', u'/', u'\\'})
        name.replace(bad, u'_');
    name = name.left(31);
    return (name.isEmpty() ? QStringLiteral("Sheet1") : name).toUtf8();
}

} // namespace

namespace {

void writeWorkbook(Query &query, const QString &caption, const QString &path)
{
    // A closed grid (a refused search leaves it so) shows nothing to copy: no title-only workbook.
    if (!query.active())
        throw Error(QStringLiteral("The grid's query is closed"));
    const ControlsDisabled still(query);

    QList<Field *> shown;
    for (int i = 0; i < query.fieldCount(); ++i)
        if (query.field(i)->visible())
            shown.append(query.field(i));

    const QByteArray file = QFile::encodeName(path);
    const QByteArray tmpdir = QFile::encodeName(QDir::tempPath());
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE; // rows go to disk as they are written: a large grid stays small
    options.tmpdir = const_cast<char *>(tmpdir.constData());
    Workbook workbook(workbook_new_opt(file.constData(), &options));
    if (!workbook)
        throw Error(QStringLiteral("Cannot create the workbook %1").arg(path));
    lxw_worksheet *sheet = workbook_add_worksheet(workbook.get(), sheetName(caption).constData());
    if (!sheet)
        throw Error(QStringLiteral("Cannot add the worksheet '%1'").arg(caption));

    lxw_format *titleRow = workbook_add_format(workbook.get());
    format_set_bold(titleRow);
    format_set_font_size(titleRow, 10);
    lxw_format *title = workbook_add_format(workbook.get());
    format_set_bold(title);
    format_set_font_size(title, 10);
    format_set_border(title, LXW_BORDER_THIN);
    format_set_text_wrap(title);
    lxw_format *cell = workbook_add_format(workbook.get());
    format_set_border(cell, LXW_BORDER_THIN);
    format_set_text_wrap(cell);

    check(worksheet_set_row(sheet, 0, LXW_DEF_ROW_HEIGHT, titleRow), "title row");
    for (int k = 0; k < shown.size(); ++k) {
        const double width = shown[k]->size() > 0 ? shown[k]->size() : WidthOfFieldsWithoutSize;
        check(worksheet_set_column(sheet, lxw_col_t(k), lxw_col_t(k), width, nullptr), "column width");
        check(worksheet_write_string(sheet, 0, lxw_col_t(k), shown[k]->displayLabel().toUtf8().constData(), title), "title");
    }

    const int rows = query.recordCount();
    if (rows > 0)
        query.first();
    for (int r = 1; r <= rows; ++r) {
        for (int k = 0; k < shown.size(); ++k)
            check(worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(k), shown[k]->asString().toUtf8().constData(), cell),
                  "cell");
        query.next();
    }

    worksheet_set_selection(sheet, 0, 0, 0, 0);
    worksheet_activate(sheet);
    check(workbook_close(workbook.release()), "writing the workbook");
}

} // namespace

void writeGridWorkbook(Query &query, const QString &caption, const QString &path)
{
    try {
        writeWorkbook(query, caption, path);
    } catch (...) {
        QFile::remove(path); // a half-filled workbook is not kept
        throw;
    }
}

QString desktopHandlerOfWorkbooks()
{
    QProcess xdgMime;
    xdgMime.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), QString::fromLatin1(WorkbookType)});
    if (!xdgMime.waitForStarted())
        return QStringLiteral("?"); // not to be asked: the opener's own answer decides
    if (!xdgMime.waitForFinished(10000) || xdgMime.exitStatus() != QProcess::NormalExit || xdgMime.exitCode() != 0)
        return QString();
    return QString::fromLocal8Bit(xdgMime.readAllStandardOutput()).trimmed();
}

void exportGridToSpreadsheet(Query &query, const QString &caption)
{
    try {
        // The opener hands the file to the desktop and does not wait: without an application for
        // the type it fails where nobody sees it. So the desktop is asked first.
        if (desktopHandlerOfWorkbooks().isEmpty())
            throw Error(QStringLiteral("No application opens .xlsx files"));
        const QString dir = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
        const QString path = QDir(dir).filePath(
            QStringLiteral("%1 %2.xlsx").arg(caption, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH-mm-ss-zzz"))));
        writeGridWorkbook(query, caption, path);
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
            QFile::remove(path); // nobody will see it: no orphan left behind
            throw Error(QStringLiteral("No application opens %1").arg(path));
        }
    } catch (const Error &) {
        messageBox(QStringLiteral("Помилка!!!"), QStringLiteral("Microsoft Ecxel не інстальований, або виникла інша помилка."),
                   MessageButton::Ok, MessageIcon::Exclamation);
    }
}

} // namespace coop
