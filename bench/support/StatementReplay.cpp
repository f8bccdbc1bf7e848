#include "support/StatementReplay.h"

#include "common/db/Dialect.h"

#include <QSqlError>
#include <QSqlRecord>
#include <utility>

namespace shop::bench {

StatementReplay::StatementReplay(Connection &con) : m_con(con) {}

void StatementReplay::record()
{
    m_recorded.clear();
    setStatementRecorder(m_con, [this](const SentStatement &step) { m_recorded << step; });
}

QList<SentStatement> StatementReplay::stop()
{
    setStatementRecorder(m_con, {});
    return std::exchange(m_recorded, {});
}

StatementReplay::Prepared &StatementReplay::prepared(const QString &text)
{
    Prepared &p = m_prepared[text];
    if (!p.query) {
        p.query = std::make_shared<QSqlQuery>(sqlDatabase(m_con));
        p.query->setForwardOnly(true);
        if (!p.query->prepare(Dialect::of(m_con.backend()).translate(text)))
            qFatal("replay: %s: %s", qPrintable(text), qPrintable(p.query->lastError().text()));
    }
    return p;
}

void StatementReplay::run(const QList<SentStatement> &steps)
{
    const bool server = m_con.backend() == Backend::Postgres;
    for (const SentStatement &step : steps) {
        if (step.kind == QLatin1String("begin") || step.kind == QLatin1String("commit")) {
            QSqlQuery q(sqlDatabase(m_con));
            if (!q.exec(step.text))
                qFatal("replay: %s: %s", qPrintable(step.text), qPrintable(q.lastError().text()));
            continue;
        }
        QString text = step.text;
        if (step.kind == QLatin1String("procedure")) {
            if (!server)
                continue; // its statements follow it
            text = QStringLiteral("select %1(%2)").arg(step.text, QStringList(step.values.size(), QStringLiteral("?")).join(QLatin1Char(',')));
        }
        Prepared &p = prepared(text);
        QSqlQuery &q = *p.query;
        for (int i = 0; i < step.values.size(); ++i)
            q.bindValue(i, step.values.at(i));
        if (!q.exec())
            qFatal("replay: %s: %s", qPrintable(text), qPrintable(q.lastError().text()));
        if (p.columns < 0)
            p.columns = q.record().count();
        while (q.next())
            for (int i = 0; i < p.columns; ++i)
                q.value(i);
        q.finish();
    }
}

} // namespace shop::bench
