#pragma once

// Clipboard sharing and file transfer: the peer filters of the clipboard channel and the HTTP server, the
// receive manager's peer, and the main window's clipboard and transfer-window pieces.
void ConnectTransferServices();
