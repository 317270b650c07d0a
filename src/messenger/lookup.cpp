#include "messenger/lookup.h"

#include "messenger/server_value.h"
#include "platform/system_library.h"

#include <winsock2.h>

namespace messenger {
namespace {

// Windows Sockets for the length of one lookup; when it cannot start, the lookup finds nothing.
class SocketsSession {
public:
    SocketsSession() {
        WSADATA data;
        m_started = platform::Sockets().WSAStartup(MAKEWORD(1, 1), &data) == 0;
    }
    ~SocketsSession() {
        if (m_started) platform::Sockets().WSACleanup();  // only a start that succeeded is matched by a cleanup
    }
    SocketsSession(const SocketsSession&) = delete;
    SocketsSession& operator=(const SocketsSession&) = delete;

private:
    bool m_started = false;
};

}  // namespace

std::string LookupHostName(const std::string& address) {
    const SocketsSession sockets;
    // Text that is no address gives INADDR_NONE, which is looked up like any other address.
    const unsigned long binary = platform::Sockets().inet_addr(address.c_str());
    const hostent* host = platform::Sockets().gethostbyaddr(reinterpret_cast<const char*>(&binary), 4, AF_INET);
    return host && host->h_name ? std::string(host->h_name) : std::string();
}

std::string LookupHostAddress(const std::string& name) {
    // The resolver does not check the length it is given; a longer name cannot resolve anyway.
    if (name.size() > kMaxHostNameLength) return {};
    const SocketsSession sockets;
    std::string result;
    const hostent* host = platform::Sockets().gethostbyname(name.c_str());
    if (!host) return result;
    for (char** entry = host->h_addr_list; *entry; ++entry) {
        in_addr address;
        memcpy(&address, *entry, sizeof address);
        result = platform::Sockets().inet_ntoa(address);
    }
    return result;
}

}  // namespace messenger
