#include "app/CommandLine.h"

std::u16string_view ArgumentsAfterProgramName(std::u16string_view cmd) {
    size_t i = 0;
    if (!cmd.empty() && cmd[0] == u'"') {
        size_t close = cmd.find(u'"', 1);
        i = close == std::u16string_view::npos ? cmd.size() : close + 1;
    } else {
        while (i < cmd.size() && cmd[i] != u' ' && cmd[i] != u'\t')
            ++i;
    }
    while (i < cmd.size() && (cmd[i] == u' ' || cmd[i] == u'\t'))
        ++i;
    return cmd.substr(i);
}
