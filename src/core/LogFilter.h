#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Switches of the noisy log categories, read once from the environment.
struct DebugFlags {
    bool all = false;
    bool input = false;
    bool hid = false;
    bool drag = false;
    bool resize = false;
    bool ui = false;
    bool timeline = false;
    bool media = false;
    bool visibility = false;
    bool state = false;
    bool startup = false;
    bool transfer = false;
};

using EnvironmentReader = std::function<std::optional<std::string>(const char* name)>;

// A category variable switches its category on with a value of 1 to 31 characters starting 1, T, t, Y or y.
bool DebugValueEnables(const std::optional<std::string>& value);
DebugFlags ReadDebugFlags(const EnvironmentReader& environment);
// The debugger-output switch is on only for a value starting with '1'.
bool DebugOutputEnabled(const std::optional<std::string>& value);

// A null, empty or unknown name gives the all flag.
bool IsCategoryEnabled(const DebugFlags& flags, const char* name);

// Formats "[LOG][PROFILE] runtime-slim ..." with the twelve flags.
std::string FormatProfileLine(const DebugFlags& flags);

// True when the message is empty or only blanks, tabs, carriage returns and line feeds.
bool IsBlankMessage(std::string_view message);
// True when a written line becomes the runtime error text.
bool IsErrorTextLine(std::string_view line);
// The category filter: true when the line is not written.
bool ShouldSuppressLine(std::string_view line, const DebugFlags& flags);
