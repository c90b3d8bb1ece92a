#pragma once

// Clipboard sharing and file transfer: the peer filters of the clipboard channel and the HTTP server, and the
// receive manager's peer.
void ConnectTransferServices();
