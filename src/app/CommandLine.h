#pragma once

#include <string_view>

// The text after the program name of a Windows command line, without the blanks that separate them.
// The program name is either quoted (up to the closing quote) or runs to the first blank or tab.
std::u16string_view ArgumentsAfterProgramName(std::u16string_view commandLine);
