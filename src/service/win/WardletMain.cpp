#include "service/win/WardletCommands.h"

int wmain(int argc, wchar_t** argv) {
    return static_cast<int>(RunWardletCommand(argc, argv));
}
