#pragma once

#include <rtnmod08/Connection.h>

#include <QDate>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace shop {

// The suite's statements are written with the server dialect of the shops' old
// database (isnull, len, right, isnumeric, convert(int, x), getdate(), numeric
// casts with rounding, 'yyyymmdd' date literals). A dialect rewrites exactly those
// constructs for one backend and leaves everything else, quoted text above all,
// as it is. On SQLite, whose numeric columns hold binary floating point, sum() is
// summed as exact decimals as the server does. A quoted text that is a whole 'yyyymmdd' date is taken as a date
// wherever it stands, except as a LIKE pattern.
class Dialect {
public:
    virtual ~Dialect() = default;
    virtual Backend backend() const = 0;
    QString translate(const QString &statement) const;

    // Statements that give a fresh database the helper functions the rewrites call.
    virtual QStringList functionDefinitions() const { return {}; }

    // The dialect of an open connection's backend (dialects hold no state).
    static const Dialect &of(Backend backend);

protected:
    // A call of one of the rewritten functions, its arguments already translated.
    // Returns the replacement text, or nothing to keep the call as written.
    std::optional<QString> rewriteCall(const QString &function, const QStringList &args) const;
    // How each backend spells what the rewrites need.
    virtual QString isnullFunction() const = 0;
    virtual QString currentTimestamp() const = 0;
    virtual QString dateLiteral(const QDate &date) const;
    // The aggregate that sums numeric values as exact decimals; empty where sum() already does.
    virtual QString exactSumFunction() const { return {}; }
    // cast(<expression> as <type>) with the type in lower case without blanks.
    virtual std::optional<QString> rewriteCast(const QString &expression, const QString &type) const;

private:
    QString rewrite(const QString &text) const;
};

class SqliteDialect final : public Dialect {
public:
    Backend backend() const override { return Backend::Sqlite; }

protected:
    QString isnullFunction() const override { return QStringLiteral("ifnull"); }
    QString currentTimestamp() const override { return QStringLiteral("datetime('now', 'localtime')"); }
    QString dateLiteral(const QDate &date) const override;
    QString exactSumFunction() const override { return QStringLiteral("tsql_sum"); }
    std::optional<QString> rewriteCast(const QString &expression, const QString &type) const override;
};

class PostgresDialect final : public Dialect {
public:
    Backend backend() const override { return Backend::Postgres; }
    QStringList functionDefinitions() const override;

protected:
    QString isnullFunction() const override { return QStringLiteral("tsql_isnull"); }
    QString currentTimestamp() const override { return QStringLiteral("localtimestamp(0)"); }
    QString dateLiteral(const QDate &date) const override;
};

} // namespace shop
