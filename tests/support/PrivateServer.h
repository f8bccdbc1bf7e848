#pragma once

#include <QString>
#include <QTemporaryDir>

namespace shop::test {

// A PostgreSQL server of one test's own (data folder, socket and port in a temporary
// folder), for tests that stop and start the server under the module. The test
// command's shared server must never be stopped: other tests run on it meanwhile.
class PrivateServer {
public:
    PrivateServer();
    ~PrivateServer();
    PrivateServer(const PrivateServer &) = delete;
    PrivateServer &operator=(const PrivateServer &) = delete;

    // Empty when the machine has no PostgreSQL server programs.
    bool available() const { return m_ready; }
    QString url() const;
    // The server's socket, for a relay of the test's own.
    QString socketPath() const;
    // A stop as abrupt as a lost machine: no time for sessions to finish.
    void stop();
    void start();

private:
    bool run(const QString &program, const QStringList &arguments);

    QTemporaryDir m_dir;
    QString m_bin;
    int m_port = 0;
    bool m_ready = false;
};

} // namespace shop::test
