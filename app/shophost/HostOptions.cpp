#include "HostOptions.h"

#include <QCommandLineParser>
#include <rtnmod08/Connection.h>

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>

namespace {

struct CommandLine {
    QCommandLineOption database{QStringLiteral("database"),
                                QStringLiteral("SQLite file path or postgresql://user@host:port/db address."),
                                QStringLiteral("path-or-url")};
    QCommandLineOption shop{QStringLiteral("shop"), QStringLiteral("Shop id (default 1)."), QStringLiteral("id")};
    QCommandLineOption user{QStringLiteral("user"), QStringLiteral("User id (default 1)."), QStringLiteral("id")};
    QCommandLineOption company{QStringLiteral("company"), QStringLiteral("Company id (default 1)."), QStringLiteral("id")};
    QCommandLineOption date{QStringLiteral("date"), QStringLiteral("Process date as YYYY-MM-DD (default today)."),
                            QStringLiteral("date")};
    QCommandLineOption type{QStringLiteral("type"), QStringLiteral("Transaction type code (default P)."),
                            QStringLiteral("code")};
    QCommandLineOption title{QStringLiteral("title"), QStringLiteral("Title of the message boxes."),
                             QStringLiteral("text")};
    QCommandLineOption resetDemo{QStringLiteral("reset-demo"), QStringLiteral("Recreate the demo data before starting.")};
    QCommandLineOption check{QStringLiteral("check"), QStringLiteral("Check the login and exit without opening windows.")};
    QCommandLineOption print{QStringLiteral("print"), QStringLiteral("Write the text printout of a return and exit."),
                             QStringLiteral("number")};
    QCommandLineOption report{QStringLiteral("report"), QStringLiteral("Write the report of a return as PDF and exit."),
                              QStringLiteral("number")};
    QCommandLineOption output{QStringLiteral("output"), QStringLiteral("File for --print or --report."),
                              QStringLiteral("path")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help.")};

    void addTo(QCommandLineParser &parser) const
    {
        parser.setApplicationDescription(QStringLiteral("Shop purchase returns: logs a user into a shop and opens the register."));
        parser.addOptions({database, shop, user, company, date, type, title, resetDemo, check, print, report, output, help});
    }
};

struct Span {
    qsizetype start;
    qsizetype length;
};

// Where passwords stand in an address, well-formed or mistyped: after "user:" in
// front of the "@" that ends the user part, and as the value of a password parameter.
QList<Span> passwordSpans(const QString &text)
{
    QList<Span> spans;
    static const QRegularExpression userPart(QStringLiteral("[A-Za-z][A-Za-z0-9+.-]*:/*([^/?#]*)@"));
    for (auto it = userPart.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        const qsizetype colon = match.captured(1).indexOf(QLatin1Char(':'));
        if (colon >= 0)
            spans.append({match.capturedStart(1) + colon + 1, match.capturedLength(1) - colon - 1});
    }
    static const QRegularExpression parameter(QStringLiteral("[?&]password=([^&#]*)"),
                                              QRegularExpression::CaseInsensitiveOption);
    for (auto it = parameter.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        spans.append({match.capturedStart(1), match.capturedLength(1)});
    }
    return spans;
}

// The part of a server address that names the server: after "://", up to the path.
QString authorityOf(const QString &address)
{
    const qsizetype start = address.indexOf(QLatin1String("://")) + 3;
    qsizetype end = start;
    while (end < address.size() && !QStringLiteral("/?#").contains(address.at(end)))
        ++end;
    return address.mid(start, end - start);
}

// The hosts of an address, each with its port: one, or a list that libpq tries in order.
QStringList hostEntries(const QString &address)
{
    const QString authority = authorityOf(address);
    return authority.mid(authority.lastIndexOf(QLatin1Char('@')) + 1).split(QLatin1Char(','));
}

// The address with its first host alone, as QUrl reads it.
QString withFirstHostOnly(const QString &address)
{
    const QStringList hosts = hostEntries(address);
    if (hosts.size() == 1)
        return address;
    const QString authority = authorityOf(address);
    const qsizetype start = address.indexOf(QLatin1String("://")) + 3;
    const QString user = authority.left(authority.lastIndexOf(QLatin1Char('@')) + 1);
    return address.left(start) + user + hosts.constFirst() + address.mid(start + authority.size());
}

QString portProblem(const QString &address)
{
    for (const QString &hostPort : hostEntries(address)) {
        // An IPv6 host is bracketed and full of colons.
        const qsizetype colon = hostPort.indexOf(QLatin1Char(':'), qMax<qsizetype>(0, hostPort.indexOf(QLatin1Char(']'))));
        if (colon < 0)
            continue;
        const QString port = hostPort.mid(colon + 1);
        bool ok = port.isEmpty();
        if (!ok) {
            static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}$"));
            ok = digits.match(port).hasMatch() && port.toInt() >= 1 && port.toInt() <= 65535;
        }
        if (!ok)
            return QStringLiteral("--database: the port of the server must be a number from 1 to 65535, not \"%1\".")
                .arg(port);
    }
    return QString();
}

// A file path or a server address; anything else that looks like an address (a
// misspelt scheme, "postgresql:/", a blank in front) would become a local file of
// that name.
QString databaseProblem(const QString &location)
{
    const QString expected = QStringLiteral("--database needs a SQLite file path or a server address "
                                            "postgresql://user@host:port/database");
    if (location.isEmpty())
        return expected + QLatin1Char('.');
    if (location != location.trimmed())
        return QStringLiteral("%1, not \"%2\" (a blank at its start or end).").arg(expected, hidePasswords(location));
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    if (!shop::Connection::isServerLocation(location)) {
        if (!scheme.match(location).hasMatch())
            return QString();
        return QStringLiteral("%1, not \"%2\" (./ in front of a file name that holds a colon).")
            .arg(expected, hidePasswords(location));
    }
    if (const QString port = portProblem(location); !port.isEmpty())
        return port;
    if (!QUrl(withFirstHostOnly(location), QUrl::StrictMode).isValid())
        return QStringLiteral("%1, not \"%2\".").arg(expected, hidePasswords(location));
    return QString();
}

// Process dates outside these are typing mistakes; the demo and the ledgers keep
// four-digit years.
const QDate FirstProcessDate(1900, 1, 1);
const QDate LastProcessDate(2999, 12, 31);

std::optional<QDate> processDate(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^[0-9]{4}-[0-9]{2}-[0-9]{2}$"));
    if (!form.match(text.trimmed()).hasMatch())
        return std::nullopt;
    const QDate date = QDate::fromString(text.trimmed(), QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid() || date < FirstProcessDate || date > LastProcessDate)
        return std::nullopt;
    return date;
}

std::optional<int> positiveId(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value <= 0)
        return std::nullopt;
    return value;
}

} // namespace

QString hidePasswords(const QString &text)
{
    QString shown = text;
    QList<Span> spans = passwordSpans(text);
    // From the back, so that the places in front stay right.
    std::sort(spans.begin(), spans.end(), [](const Span &a, const Span &b) { return a.start > b.start; });
    for (const Span &span : spans)
        shown.replace(span.start, span.length, QStringLiteral("***"));
    return shown;
}

void hidePasswordsInArguments(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        // Byte for byte, so that the places found are the places in the argument.
        const QString bytes = QString::fromLatin1(argv[i]);
        for (const Span &span : passwordSpans(bytes))
            std::fill_n(argv[i] + span.start, span.length, '*');
    }
}

QString defaultDatabasePath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir(folder).filePath(QStringLiteral("shopreturns/demo.db"));
}

QString hostUsage()
{
    return QStringLiteral(
        "Usage: shophost [options]\n"
        "Logs a user into a shop and opens the purchase-return register.\n\n"
        "  --database <path-or-url>  SQLite file (default: %1;\n"
        "                            created with demo data when new), or a PostgreSQL server:\n"
        "                              postgresql://user@host:port/database\n"
        "                              postgresql:///?service=NAME  (an entry of ~/.pg_service.conf)\n"
        "                              postgresql://user@host1:port1,host2:port2/database\n"
        "                                ?target_session_attrs=read-write  (a failover cluster: the\n"
        "                                node that accepts writes, found again after a failover)\n"
        "                            with the password in ~/.pgpass or in PGPASSWORD. A password\n"
        "                            written into the address works too, but it stays in the\n"
        "                            shell's history and shows for a moment in the process list.\n"
        "  --shop <id>               shop id (default 1)\n"
        "  --user <id>               user id (default 1)\n"
        "  --company <id>            company id (default 1)\n"
        "  --date <YYYY-MM-DD>       process date, 1900-01-01 to 2999-12-31 (default today)\n"
        "  --type <code>             transaction type code (default P)\n"
        "  --title <text>            title of the message boxes\n"
        "  --reset-demo              recreate the demo data first\n"
        "  --check                   check the database and the login, then exit\n"
        "  --print <number>          write the text printout of the shop's return <number>\n"
        "                            to --output <path> or to standard output, then exit\n"
        "  --report <number>         write the report of the return as PDF to --output <file.pdf>\n"
        "  -h, --help                show this help\n").arg(defaultDatabasePath());
}

std::optional<HostOptions> parseHostOptions(const QStringList &arguments, QString &error)
{
    QCommandLineParser parser;
    const CommandLine cli;
    cli.addTo(parser);
    if (!parser.parse(QStringList{QStringLiteral("shophost")} + arguments)) {
        error = parser.errorText();
        return std::nullopt;
    }
    if (!parser.positionalArguments().isEmpty()) {
        error = QStringLiteral("Unexpected argument: %1").arg(parser.positionalArguments().first());
        return std::nullopt;
    }
    HostOptions options;
    options.help = parser.isSet(cli.help);
    options.database = parser.isSet(cli.database) ? parser.value(cli.database) : defaultDatabasePath();
    options.resetDemo = parser.isSet(cli.resetDemo);
    options.checkOnly = parser.isSet(cli.check);
    const std::pair<const QCommandLineOption *, int *> ids[] = {
        {&cli.shop, &options.shopId}, {&cli.user, &options.userId}, {&cli.company, &options.companyId}};
    for (const auto &[option, target] : ids) {
        if (!parser.isSet(*option))
            continue;
        const auto id = positiveId(parser.value(*option));
        if (!id) {
            error = QStringLiteral("--%1 needs a whole number above 0, not \"%2\".")
                        .arg(option->names().constFirst(), parser.value(*option));
            return std::nullopt;
        }
        *target = *id;
    }
    if (const QString problem = databaseProblem(options.database); !problem.isEmpty()) {
        error = problem;
        return std::nullopt;
    }
    options.processDate = QDate::currentDate();
    if (parser.isSet(cli.date)) {
        const auto date = processDate(parser.value(cli.date));
        if (!date) {
            error = QStringLiteral("--date needs a calendar date from %1 to %2 as YYYY-MM-DD, not \"%3\".")
                        .arg(FirstProcessDate.toString(Qt::ISODate), LastProcessDate.toString(Qt::ISODate),
                             parser.value(cli.date));
            return std::nullopt;
        }
        options.processDate = *date;
    }
    if (parser.isSet(cli.type))
        options.transType = parser.value(cli.type).trimmed().toUpper();
    if (parser.isSet(cli.title))
        options.title = parser.value(cli.title);
    options.printNumber = parser.value(cli.print).trimmed();
    options.reportNumber = parser.value(cli.report).trimmed();
    options.output = parser.value(cli.output);
    if (parser.isSet(cli.print) && parser.isSet(cli.report)) {
        error = QStringLiteral("--print and --report cannot be asked for at once.");
        return std::nullopt;
    }
    if ((parser.isSet(cli.print) && options.printNumber.isEmpty()) || (parser.isSet(cli.report) && options.reportNumber.isEmpty())) {
        error = QStringLiteral("--print and --report need the number of a return, such as PR1.");
        return std::nullopt;
    }
    if (parser.isSet(cli.report) && options.output.isEmpty()) {
        error = QStringLiteral("--report needs --output <file.pdf>.");
        return std::nullopt;
    }
    if (parser.isSet(cli.output) && !parser.isSet(cli.print) && !parser.isSet(cli.report)) {
        error = QStringLiteral("--output goes with --print or --report.");
        return std::nullopt;
    }
    return options;
}
