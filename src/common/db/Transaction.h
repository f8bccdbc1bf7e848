#pragma once

#include <rtnmod08/Connection.h>

namespace shop {

// One database transaction for the length of a scope: begun on construction, undone
// when the scope is left without commit (a return, an error), so no path leaves a
// half-written return behind.
class Transaction {
public:
    explicit Transaction(Connection &con) : m_con(con) { m_con.beginTrans(); }
    ~Transaction()
    {
        if (!m_committed)
            m_con.rollbackTrans();
    }
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit()
    {
        m_con.commitTrans();
        m_committed = true;
    }

private:
    Connection &m_con;
    bool m_committed = false;
};

} // namespace shop
