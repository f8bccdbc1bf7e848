#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <mutex>
#include <thread>

namespace shop::test {

// A relay of the test's own on loopback, between the module and a server's Unix
// socket, that the test cuts as a network would: at once, just before a message of
// the module that holds a text reaches the server, or just after the server has
// answered it (the answer then never arrives).
class TcpRelay {
public:
    explicit TcpRelay(QString unixSocket);
    ~TcpRelay();
    TcpRelay(const TcpRelay &) = delete;
    TcpRelay &operator=(const TcpRelay &) = delete;

    int port() const { return m_port; }
    // Every connection through the relay now ends; returns once they have.
    void cut();
    enum class When { Before, AfterAnswer };
    // The next message holding `text` cuts its connection, before or after the server took it.
    void cutAt(const QByteArray &text, When when);
    // While refusing, a new connection is closed as soon as it is made.
    void refuse(bool refusing) { m_refusing = refusing; }

private:
    void run();

    QString m_socket;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_cutRequests{0};
    std::atomic<int> m_cutsDone{0};
    std::atomic<bool> m_refusing{false};
    std::mutex m_mutex; // guards the trigger
    QByteArray m_trigger;
    When m_when = When::Before;
    std::thread m_thread;
};

} // namespace shop::test
