#include "documentreading.h"

#include <QProcess>
#include <QRegularExpression>

using namespace coop;

std::vector<const PlacedElement *> elementsOf(const ReportDocument &document, BandKind band, bool shapes)
{
    std::vector<const PlacedElement *> found;
    for (const ReportPage &page : document.pages)
        for (const PlacedElement &element : page.elements)
            if (element.band == band && (element.kind == ElementKind::Shape) == shapes)
                found.push_back(&element);
    return found;
}

QStringList textsOf(const ReportDocument &document, BandKind band)
{
    QStringList texts;
    for (const PlacedElement *element : elementsOf(document, band))
        texts << element->text;
    return texts;
}

const PlacedElement &elementWithText(const ReportDocument &document, const QString &text)
{
    for (const ReportPage &page : document.pages)
        for (const PlacedElement &element : page.elements)
            if (element.text == text)
                return element;
    qFatal("no element with text %s", qPrintable(text));
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        qFatal("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString pdfText(const QString &path, int page)
{
    QStringList arguments{QStringLiteral("-layout")};
    if (page > 0)
        arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    return run(QStringLiteral("pdftotext"), arguments << path << QStringLiteral("-"));
}

int pdfPages(const QString &path)
{
    const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)$"), QRegularExpression::MultilineOption);
    return pages.match(run(QStringLiteral("pdfinfo"), {path})).captured(1).toInt();
}

QRectF pdfWordBoxMm(const QString &path, const QString &word)
{
    const QString xhtml = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    const QRegularExpression box(QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                                                "yMax=\"([\\d.]+)\">%1</word>").arg(QRegularExpression::escape(word)));
    const QRegularExpressionMatch match = box.match(xhtml);
    if (!match.hasMatch())
        return {};
    auto mm = [&](int i) { return match.captured(i).toDouble() * MmPerPoint; };
    return QRectF(QPointF(mm(1), mm(2)), QPointF(mm(3), mm(4)));
}

bool hasLine(const QString &text, const QString &pattern)
{
    return QRegularExpression(pattern, QRegularExpression::MultilineOption).match(text).hasMatch();
}
