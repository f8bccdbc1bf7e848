#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

// What the host was asked to do on its command line.
struct HostOptions {
    QString database;       // SQLite file path or postgresql:// URL
    int shopId = 1;
    int userId = 1;
    int companyId = 1;
    QDate processDate;
    QString transType = QStringLiteral("P");
    QString title = QStringLiteral("Shop Purchase Return");
    bool resetDemo = false;
    bool checkOnly = false; // check the login and stop before opening any window
    bool help = false;
    // Scripted reprints, without windows: the text printout or the report of one return.
    QString printNumber;    // --print: the return's number (PR1)
    QString reportNumber;   // --report
    QString output;         // --output: where the printout or the PDF goes ("" for standard output)
};

QString defaultDatabasePath();
// Text as messages may show it: the passwords of server addresses (user:password@,
// password=) as "***".
QString hidePasswords(const QString &text);
// Overwrites the passwords in the program's own arguments, so that the process list
// does not show them for as long as the program runs.
void hidePasswordsInArguments(int argc, char **argv);
QString hostUsage();
// Parses the arguments (without the program name); on bad input returns nothing
// and puts the reason into `error`.
std::optional<HostOptions> parseHostOptions(const QStringList &arguments, QString &error);
