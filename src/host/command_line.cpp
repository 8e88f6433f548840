#include "host/command_line.h"

#include <cstdint>

namespace lw {

namespace {

wchar_t foldAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

// The switches are plain ASCII, so folding ASCII letters gives what StrCmpIW gives for them.
bool sameSwitch(std::wstring_view argument, std::wstring_view wanted) {
    if (argument.size() != wanted.size()) return false;
    for (std::size_t i = 0; i < argument.size(); ++i) {
        if (foldAscii(argument[i]) != foldAscii(wanted[i])) return false;
    }
    return true;
}

bool isBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

}  // namespace

int readDecimalInt(std::wstring_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10u + static_cast<std::uint32_t>(text[i] - L'0');
    }
    if (negative) value = 0u - value;
    return static_cast<int>(value);
}

StartDecision parseCommandLine(std::span<const std::wstring> args) {
    if (args.size() < 2) return {StartMode::Full, 0};
    if (sameSwitch(args[1], L"/s")) return {StartMode::Full, 0};
    if (args.size() == 3 && sameSwitch(args[1], L"/p")) {
        const int handle = readDecimalInt(args[2]);
        if (handle == 0) return {StartMode::Quit, 0};
        return {StartMode::Preview, static_cast<std::intptr_t>(handle)};
    }
    return {StartMode::Help, 0};
}

}  // namespace lw
