#pragma once

#include "common/db/ConnectionInternals.h"

#include <QHash>
#include <QSqlQuery>
#include <memory>

namespace shop::bench {

// The module's own steps, as a recorder caught them, run again through bare prepared
// queries: the same statements with the same values, BEGIN and COMMIT as the connection
// ran them, each statement prepared once and kept (as the connection keeps them), the
// rows of a query read. On SQLite an embedded procedure's own statements were caught
// and run here; on PostgreSQL the procedure is called as the connection calls it.
class StatementReplay {
public:
    explicit StatementReplay(Connection &con);

    // Catches every step the connection sends until stop() (or the next record()).
    void record();
    QList<SentStatement> stop();

    void run(const QList<SentStatement> &steps);

private:
    // A statement prepared once, with the number of columns it reads, known after its first run.
    struct Prepared {
        std::shared_ptr<QSqlQuery> query;
        int columns = -1;
    };
    Prepared &prepared(const QString &text);

    Connection &m_con;
    QList<SentStatement> m_recorded;
    QHash<QString, Prepared> m_prepared;
};

} // namespace shop::bench
