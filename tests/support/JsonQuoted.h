#pragma once

#include <string>
#include <string_view>

#include "transfer/ManifestJson.h"

// A JSON string literal of any bytes, escaped as the sending side writes manifest names.
inline std::string JsonQuoted(std::string_view text) {
    return "\"" + JsonEscape(text) + "\"";
}
