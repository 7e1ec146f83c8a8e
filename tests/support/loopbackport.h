#pragma once

#include <QString>
#include <QtGlobal>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

// A port on 127.0.0.1 held for the test: listening, a host that accepts the connection and never
// says a word (a hung server, a wrong service); not listening, a host that refuses it.
class LoopbackPort
{
public:
    explicit LoopbackPort(bool listening)
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
            || (listening && ::listen(m_fd, 8) != 0)
            || ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            qFatal("no loopback port for the test");
        m_port = ntohs(address.sin_port);
    }
    ~LoopbackPort() { ::close(m_fd); }
    LoopbackPort(const LoopbackPort &) = delete;
    LoopbackPort &operator=(const LoopbackPort &) = delete;
    QString entry() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

private:
    int m_fd = -1;
    unsigned m_port = 0;
};

