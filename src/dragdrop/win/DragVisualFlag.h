#pragma once

// Sets the drag-visual flag, starts the overlay when it goes on and redraws it at once; the previous value.
// Any thread.
bool ExchangeDragVisualAndRefresh(bool on);
