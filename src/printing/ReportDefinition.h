#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace shop {

class Connection;

// A report file of the module's own engine: an XML file a shop can edit, holding the
// report's parameters by position, its statements (values bound from the parameters)
// and its layout, an HTML page with fields in double braces:
//   {{name}}             a parameter, or a column of the current row of a repeat
//   {{query.column}}     a column of the first row of a statement
//   {{#query}}...{{/query}}  the part repeated for every row of a statement
//   {{column|0.000}}     a number in a display format; {{column|date}} a date
// Every value is written as text, never as markup.
struct ReportDefinition {
    QString title;
    double marginMillimetres = 15;
    bool landscape = false;
    QStringList parameterNames; // by position, 1 first
    struct Query {
        QString name;
        QStringList parameters; // the parameters bound to its '?' marks, in order
        QString statement;
    };
    std::vector<Query> queries;
    QString layout;

    // Raises an error naming the file when it cannot be read or is not a report.
    static ReportDefinition load(const QString &path);

    // The filled layout for these parameter values (by position).
    QString render(Connection &con, const QVariantList &values) const;
};

} // namespace shop
