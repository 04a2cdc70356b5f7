// libFuzzer target over the Windows command-line splitter. Any line must
// split without crashing; and arguments quoted by the documented rules,
// after a program name, must split back into exactly themselves. The input
// is the line itself, and also read as arguments separated by zero bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/command/windows_command_line.h"

namespace {

// Quotes an argument so that the C runtime's rules give it back whole:
// backslashes doubled before a quote and at the end, quotes escaped.
std::string quoted(const std::string& arg) {
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(2 * backslashes, '\\');
    return out + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    using velmora::splitWindowsCommandLine;
    const std::string input(reinterpret_cast<const char*>(bytes), size);
    std::vector<std::string> split = splitWindowsCommandLine(input.substr(0, input.find('\0')));
    if (split.empty()) __builtin_trap();

    std::vector<std::string> args;
    for (size_t from = 0;;) {
        size_t zero = input.find('\0', from);
        args.push_back(input.substr(from, zero - from));
        if (zero == std::string::npos) break;
        from = zero + 1;
    }
    // The program name cannot hold a quote, and quoting it keeps blanks.
    std::string program = args.front();
    for (char& c : program)
        if (c == '"') c = '_';
    std::string line = "\"" + program + "\"";
    for (size_t k = 1; k < args.size(); ++k) line += (k % 2 ? " " : "\t ") + quoted(args[k]);
    std::vector<std::string> expected = args;
    expected.front() = program;
    if (splitWindowsCommandLine(line) != expected) __builtin_trap();
    return 0;
}
