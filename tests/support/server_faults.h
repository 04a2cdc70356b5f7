#pragma once
// What a database server does wrong, made on purpose: a listener that takes
// connections and never answers, and the server's own process stopped and
// let go on. One file per platform; under Wine the server is a process of
// the Linux host.
#include <string>

namespace velmora::test {

// Listens on the loopback and never answers; closed with the object.
class SilentListener {
public:
    SilentListener();
    ~SilentListener();
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;
    // 0 when it could not listen.
    int port() const { return port_; }

private:
    long long socket_ = -1;
    int port_ = 0;
};

// Stops (`stopped`) or continues the host's process `pid`, as SIGSTOP and
// SIGCONT do; whether it is so afterwards.
bool holdProcess(const std::string& pid, bool stopped);

}  // namespace velmora::test
