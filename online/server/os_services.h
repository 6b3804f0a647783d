// The operating-system services hiscored needs beyond the HTTP library: socket addresses
// and the stop signals. The server's only OS-specific code lives in os_services.cpp.
#pragma once

#include <memory>
#include <string>

struct sockaddr;

// A listening address (IPv4 or IPv6 text, e.g. "127.0.0.1" or "::1") with its port, in
// the form the socket functions take; null when the text is not an address.
std::shared_ptr<sockaddr> MakeSocketAddress(const std::string& address, int port);

// The numeric text of a peer's address ("127.0.0.1", "::1"); "?" when unknown.
std::string SocketAddressText(const sockaddr* address);

// Blocks SIGTERM, SIGINT and SIGHUP in the calling thread and the threads it starts
// afterwards, so that WaitForStopSignal receives them. Call before starting threads.
void BlockStopSignals();
// Waits for one of the blocked stop signals; answers its name ("SIGTERM", ...).
std::string WaitForStopSignal();
