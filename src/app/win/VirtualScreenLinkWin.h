#pragma once

#include "dragdrop/VirtualScreenLink.h"

// The virtual screen's link to the input router, the input channel and the file transfer.
IVirtualScreenLink& ProductVirtualScreenLink();
