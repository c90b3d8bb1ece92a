#pragma once

// Installs the main window's pieces (tray, resize and fullscreen, ControlView and StateView, the virtual
// screen, the clipboard channel and the transfer window) as the one IMainWindowParts object.
void InstallProductMainWindowParts();
