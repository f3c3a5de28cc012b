#pragma once

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

// A port of 127.0.0.1 that nothing listens on now, of the given socket type, for a partner a test starts.
inline int freeLocalPort(int type = SOCK_STREAM)
{
    const int fd = ::socket(AF_INET, type, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), size);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    ::close(fd);
    return ntohs(address.sin_port);
}
