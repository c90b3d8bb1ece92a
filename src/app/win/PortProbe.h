#pragma once

#include <cstdint>

// Start-up bind probes: bind the port on INADDR_ANY, close again, log what happened. Only logged.
void CanBindUdpPort(const char* label, uint16_t port);
void CanBindTcpPort(const char* label, uint16_t port);
