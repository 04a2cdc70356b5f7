#include <winsock2.h>
// After winsock2.h, which must come first.
#include <windows.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "tests/support/program_launch.h"
#include "tests/support/server_faults.h"

namespace velmora::test {

SilentListener::SilentListener() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    const SOCKET s = started ? ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP) : INVALID_SOCKET;
    if (s == INVALID_SOCKET) return;
    socket_ = static_cast<long long>(s);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), size) != 0 || listen(s, 4) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return;
    port_ = ntohs(address.sin_port);
}

SilentListener::~SilentListener() {
    if (socket_ >= 0) closesocket(static_cast<SOCKET>(socket_));
}

namespace {

// The process's state letter from the host's /proc ('T' when stopped).
char processState(const std::string& pid) {
    std::ifstream stat("Z:\\proc\\" + pid + "\\stat");
    std::string line;
    std::getline(stat, line);
    const size_t name = line.rfind(')');
    return name != std::string::npos && name + 2 < line.size() ? line[name + 2] : '?';
}

}  // namespace

// The server runs on the Linux host, beyond what a Windows call can stop:
// Wine starts a host program given by its path, though it hands back no
// handle to wait on, so the process's state tells when it took effect.
bool holdProcess(const std::string& pid, bool stopped) {
    runCommandLine(std::string("/bin/kill -") + (stopped ? "STOP " : "CONT ") + pid);
    for (int waited = 0; waited < 10000; waited += 20) {
        if ((processState(pid) == 'T') == stopped) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

}  // namespace velmora::test
