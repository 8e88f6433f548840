// Any argument list through the command-line decision both hosts share. Bytes become wide
// characters two at a time (so letters, digits, blanks and any code unit all occur); a zero unit
// ends an argument.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/command_line.h"

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "fuzz_command_line: %s\n", what);
    std::abort();
}

std::vector<std::wstring> argumentsOf(const std::uint8_t* data, std::size_t size) {
    std::vector<std::wstring> args{L"Lumenwaltz.scr"};
    std::wstring current;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const auto unit = static_cast<wchar_t>(data[i] | data[i + 1] << 8);
        if (unit == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current.push_back(unit);
        }
    }
    if (!current.empty()) args.push_back(current);
    return args;
}

bool isSwitch(const std::wstring& argument, wchar_t letter) {
    return argument.size() == 2 && argument[0] == L'/' && (argument[1] | 0x20) == letter;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::wstring> args = argumentsOf(data, size);
    const lw::StartDecision decision = lw::parseCommandLine(args);
    switch (decision.mode) {
        case lw::StartMode::Full:
            if (args.size() >= 2 && !isSwitch(args[1], L's')) fail("full mode without /s");
            break;
        case lw::StartMode::Preview:
        case lw::StartMode::Quit: {
            if (args.size() != 3 || !isSwitch(args[1], L'p')) fail("a preview decision without /p HANDLE");
            const int handle = lw::readDecimalInt(args[2]);
            const bool preview = decision.mode == lw::StartMode::Preview;
            if (preview != (handle != 0) || decision.previewParent != (preview ? handle : 0)) {
                fail("the preview handle is not the number read");
            }
            break;
        }
        case lw::StartMode::Help:
            if (args.size() < 2 || isSwitch(args[1], L's')) fail("help for a full-mode command line");
            break;
        default:
            fail("an outcome outside the four modes");
    }
    if (decision.mode != lw::StartMode::Preview && decision.previewParent != 0) fail("a parent outside preview");
    // Every argument, read as a number, must be read without undefined behaviour.
    for (const auto& argument : args) (void)lw::readDecimalInt(argument);
    return 0;
}
