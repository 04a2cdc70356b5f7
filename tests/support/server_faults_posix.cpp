#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include "tests/support/server_faults.h"

namespace velmora::test {

SilentListener::SilentListener() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    socket_ = s;
    if (s < 0 || bind(s, reinterpret_cast<sockaddr*>(&address), size) != 0 || listen(s, 4) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return;
    port_ = ntohs(address.sin_port);
}

SilentListener::~SilentListener() {
    if (socket_ >= 0) close(static_cast<int>(socket_));
}

bool holdProcess(const std::string& pid, bool stopped) {
    return ::kill(static_cast<pid_t>(std::stol(pid)), stopped ? SIGSTOP : SIGCONT) == 0;
}

}  // namespace velmora::test
