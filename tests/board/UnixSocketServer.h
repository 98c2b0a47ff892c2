#ifndef LIFEBOAT_TESTS_BOARD_UNIXSOCKETSERVER_H
#define LIFEBOAT_TESTS_BOARD_UNIXSOCKETSERVER_H

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>

// A new directory under /tmp for a test's sockets.
inline std::string temporaryDirectory()
{
    char name[] = "/tmp/board-test-XXXXXX";
    if (!mkdtemp(name))
        throw std::runtime_error("mkdtemp");
    return name;
}

// A socket listening at path, as QEMU serves the board's consoles and QMP.
inline int listenOnUnixSocket(const std::string& path)
{
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    if (listener < 0 ||
        bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 1) != 0)
        throw std::runtime_error("cannot listen on " + path);
    return listener;
}

#endif
