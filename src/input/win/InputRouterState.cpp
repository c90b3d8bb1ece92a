#include "input/win/InputRouterState.h"

InputRouterState& RouterState() {
    static InputRouterState* state = new InputRouterState();
    return *state;
}
