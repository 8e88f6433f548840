// Text between the engine's wide strings (UTF-32 on Linux) and the UTF-8 that SDL, X and the
// terminal take.
#pragma once

#include <string>
#include <string_view>

namespace lw::linuxhost {

// Code points that UTF-8 cannot carry (surrogates, past U+10FFFF) become U+FFFD.
std::string toUtf8(std::wstring_view text);

// Each byte as one character: enough for command-line switches and numbers, which are ASCII.
std::wstring widenBytes(std::string_view text);

}  // namespace lw::linuxhost
