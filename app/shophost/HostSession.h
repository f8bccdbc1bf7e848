#pragma once

#include "HostOptions.h"

#include <rtnmod08/Connection.h>

// The host's own start-up work: open the database (creating the demo when it is
// new), bring its schema up to date and check that the user belongs to the shop.
struct HostLogin {
    shop::ConnectionPtr connection;
    QString userName;
    QString shopName;
    bool createdDemo = false;
};

class HostStartError {
public:
    explicit HostStartError(QString message) : m_message(std::move(message)) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// Throws HostStartError with a message for the person at the keyboard.
HostLogin startHostSession(const HostOptions &options);
