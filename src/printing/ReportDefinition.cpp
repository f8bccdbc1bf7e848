#include "printing/ReportDefinition.h"

#include "common/core/Conversions.h"
#include <rtnmod08/ModuleError.h>
#include <rtnmod08/Connection.h>

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <cmath>

namespace shop {

namespace {

const QString Source = QStringLiteral("rtnmod08");

[[noreturn]] void notAReport(const QString &path, const QString &why)
{
    throw ModuleError(53, Source, QStringLiteral("The report %1 cannot be used: %2").arg(path, why));
}

// A whole number given as a double (the return id) is bound as a whole number, which
// every backend compares with an integer column.
QVariant boundValue(const QVariant &value)
{
    if (value.typeId() == QMetaType::Double) {
        const double d = value.toDouble();
        if (std::floor(d) == d && std::abs(d) < 9e15)
            return QVariant(static_cast<qlonglong>(d));
    }
    return value;
}

using Row = QHash<QString, QVariant>; // column names in lower case

QString shown(const QVariant &value, const QString &format)
{
    if (value.isNull())
        return QString();
    if (format == QLatin1String("date"))
        return displayDate(dateValue(value));
    if (!format.isEmpty())
        return formatValue(value, format);
    // Text as it is: the document's name starts with a space that must stay.
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    return cellText(value);
}

class Filler {
public:
    Filler(const QHash<QString, QVariant> &params, const QHash<QString, std::vector<Row>> &results)
        : m_params(params), m_results(results)
    {
    }

    QString fill(const QString &text, const Row *row) const
    {
        static const QRegularExpression tag(QStringLiteral("\\{\\{\\s*([#/]?)\\s*([^}|]*?)\\s*(?:\\|\\s*([^}]*?)\\s*)?\\}\\}"));
        QString out;
        qsizetype pos = 0;
        while (true) {
            const QRegularExpressionMatch m = tag.match(text, pos);
            if (!m.hasMatch()) {
                out += text.mid(pos);
                return out;
            }
            out += text.mid(pos, m.capturedStart() - pos);
            const QString kind = m.captured(1);
            const QString name = m.captured(2);
            if (kind == QLatin1String("#")) {
                const QString close = QStringLiteral("{{/%1}}").arg(name);
                const qsizetype end = text.indexOf(close, m.capturedEnd());
                if (end < 0)
                    throw ModuleError(5, Source, QStringLiteral("The report's repeat {{#%1}} has no {{/%1}}.").arg(name));
                const QString body = text.mid(m.capturedEnd(), end - m.capturedEnd());
                for (const Row &r : m_results.value(name.toLower()))
                    out += fill(body, &r);
                pos = end + close.size();
            } else {
                if (kind.isEmpty())
                    out += value(name, m.captured(3), row).toHtmlEscaped();
                pos = m.capturedEnd();
            }
        }
    }

private:
    QString value(const QString &name, const QString &format, const Row *row) const
    {
        const QString key = name.toLower();
        if (row && row->contains(key))
            return shown(row->value(key), format);
        const qsizetype dot = key.indexOf(QLatin1Char('.'));
        if (dot > 0) {
            const auto rows = m_results.constFind(key.left(dot));
            if (rows != m_results.constEnd())
                return rows->empty() ? QString() : shown(rows->front().value(key.mid(dot + 1)), format);
        }
        if (m_params.contains(key))
            return shown(m_params.value(key), format);
        throw ModuleError(5, Source, QStringLiteral("The report's field {{%1}} is not a parameter or a column.").arg(name));
    }

    const QHash<QString, QVariant> &m_params;
    const QHash<QString, std::vector<Row>> &m_results;
};

} // namespace

ReportDefinition ReportDefinition::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        notAReport(path, QStringLiteral("the file is missing or cannot be read (%1)").arg(file.errorString()));
    ReportDefinition def;
    QXmlStreamReader xml(&file);
    const bool sawReport = xml.readNextStartElement() && xml.name() == QLatin1String("report");
    if (!sawReport && !xml.hasError())
        notAReport(path, QStringLiteral("it does not start with <report>"));
    if (sawReport) {
        def.title = xml.attributes().value(QLatin1String("title")).toString();
        if (xml.attributes().hasAttribute(QLatin1String("margins")))
            def.marginMillimetres = xml.attributes().value(QLatin1String("margins")).toDouble();
        def.landscape = xml.attributes().value(QLatin1String("orientation")) == QLatin1String("landscape");
        while (xml.readNextStartElement()) {
            const auto attributes = xml.attributes();
            if (xml.name() == QLatin1String("parameter")) {
                const int position = attributes.value(QLatin1String("position")).toInt();
                if (position < 1 || position > 64)
                    notAReport(path, QStringLiteral("a parameter needs a position from 1"));
                if (def.parameterNames.size() < position)
                    def.parameterNames.resize(position);
                def.parameterNames[position - 1] = attributes.value(QLatin1String("name")).toString().toLower();
                xml.skipCurrentElement();
            } else if (xml.name() == QLatin1String("query")) {
                Query q;
                q.name = attributes.value(QLatin1String("name")).toString().toLower();
                q.parameters = attributes.value(QLatin1String("parameters")).toString().toLower().split(
                    QLatin1Char(' '), Qt::SkipEmptyParts);
                q.statement = xml.readElementText().trimmed();
                def.queries.push_back(q);
            } else if (xml.name() == QLatin1String("layout")) {
                def.layout = xml.readElementText();
            } else {
                xml.skipCurrentElement();
            }
        }
    }
    if (xml.hasError())
        notAReport(path, QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString()));
    if (!sawReport || def.layout.trimmed().isEmpty())
        notAReport(path, QStringLiteral("it has no <layout>"));
    return def;
}

QString ReportDefinition::render(Connection &con, const QVariantList &values) const
{
    QHash<QString, QVariant> params;
    for (int i = 0; i < parameterNames.size(); ++i)
        if (!parameterNames[i].isEmpty())
            params.insert(parameterNames[i], i < values.size() ? values[i] : QVariant());
    QHash<QString, std::vector<Row>> results;
    for (const Query &q : queries) {
        QVariantList bound;
        for (const QString &p : q.parameters) {
            if (!params.contains(p))
                throw ModuleError(5, Source, QStringLiteral("The report's statement %1 uses %2, which is not a parameter.")
                                                 .arg(q.name, p));
            bound << boundValue(params.value(p));
        }
        const Recordset rs = con.query(q.statement, bound);
        std::vector<Row> rows;
        for (int r = 0; r < rs.recordCount(); ++r) {
            Row row;
            for (int c = 0; c < rs.fieldCount(); ++c)
                row.insert(rs.fieldNames()[c].toLower(), rs.value(r, c));
            rows.push_back(row);
        }
        results.insert(q.name, std::move(rows));
    }
    return Filler(params, results).fill(layout, nullptr);
}

} // namespace shop
