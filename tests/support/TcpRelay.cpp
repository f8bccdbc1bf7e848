#include "support/TcpRelay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <vector>

namespace shop::test {

namespace {

struct Pair {
    int client = -1;
    int server = -1;
    bool swallowAnswer = false; // the next bytes of the server end the pair instead
};

int connectUnix(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray bytes = path.toLocal8Bit();
    std::strncpy(address.sun_path, bytes.constData(), sizeof(address.sun_path) - 1);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void sendAll(int fd, const char *data, ssize_t size)
{
    while (size > 0) {
        const ssize_t sent = ::send(fd, data, static_cast<size_t>(size), MSG_NOSIGNAL);
        if (sent <= 0)
            return;
        data += sent;
        size -= sent;
    }
}

void close(Pair &p)
{
    ::close(p.client);
    ::close(p.server);
    p.client = p.server = -1;
}

} // namespace

TcpRelay::TcpRelay(QString unixSocket) : m_socket(std::move(unixSocket))
{
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(m_listener, reinterpret_cast<sockaddr *>(&address), sizeof(address));
    ::listen(m_listener, 8);
    socklen_t length = sizeof(address);
    ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { run(); });
}

TcpRelay::~TcpRelay()
{
    m_stop = true;
    m_thread.join();
    ::close(m_listener);
}

void TcpRelay::cut()
{
    const int wanted = ++m_cutRequests;
    while (m_cutsDone < wanted)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

void TcpRelay::cutAt(const QByteArray &text, When when)
{
    const std::lock_guard lock(m_mutex);
    m_trigger = text;
    m_when = when;
}

void TcpRelay::run()
{
    std::vector<Pair> pairs;
    char buffer[65536];
    while (!m_stop) {
        if (const int requests = m_cutRequests; requests != m_cutsDone) {
            for (Pair &p : pairs)
                close(p);
            m_cutsDone = requests;
        }
        std::erase_if(pairs, [](const Pair &p) { return p.client < 0; });
        std::vector<pollfd> watched{{m_listener, POLLIN, 0}};
        for (const Pair &p : pairs) {
            watched.push_back({p.client, POLLIN, 0});
            watched.push_back({p.server, POLLIN, 0});
        }
        if (::poll(watched.data(), watched.size(), 10) <= 0)
            continue;
        if (watched[0].revents & POLLIN) {
            const int client = ::accept(m_listener, nullptr, nullptr);
            const int server = m_refusing ? -1 : connectUnix(m_socket);
            if (server < 0)
                ::close(client);
            else
                pairs.push_back({client, server, false});
        }
        for (size_t i = 0; i + 1 < watched.size(); ++i) {
            if (!(watched[i + 1].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            Pair &p = pairs[i / 2];
            if (p.client < 0)
                continue;
            const bool fromClient = i % 2 == 0;
            const ssize_t got = ::recv(fromClient ? p.client : p.server, buffer, sizeof(buffer), 0);
            if (got <= 0 || (!fromClient && p.swallowAnswer)) {
                close(p);
                continue;
            }
            if (fromClient) {
                const std::lock_guard lock(m_mutex);
                if (!m_trigger.isEmpty() && QByteArray::fromRawData(buffer, got).contains(m_trigger)) {
                    m_trigger.clear();
                    if (m_when == When::Before) {
                        close(p);
                        continue;
                    }
                    p.swallowAnswer = true;
                }
            }
            sendAll(fromClient ? p.server : p.client, buffer, got);
        }
    }
    for (Pair &p : pairs)
        close(p);
}

} // namespace shop::test
