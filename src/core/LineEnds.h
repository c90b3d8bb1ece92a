#pragma once

#include <string_view>

// text without the carriage returns and line feeds at its end, as system message texts carry them.
std::string_view TrimTrailingLineEnds(std::string_view text);
