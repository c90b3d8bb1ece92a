#pragma once

#include <winsock2.h>

#include <string>

// The dotted IPv4 text of an address ("" when it cannot be written), as the channels compare and log it.
std::string DottedIpv4(const sockaddr_in& address);
