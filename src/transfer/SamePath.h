#pragma once

#include <string_view>

// Whether two Windows paths name the same place as far as their text tells: "/" and "\" are alike, trailing
// separators and spaces do not count, and case does not matter. False when either is empty.
bool IsSamePath(std::u16string_view a, std::u16string_view b);
