// libFuzzer target for command lines as the host takes them apart: from a
// second instance, shortcuts, the settings panel's box and the stored start
// command. The text is a C string (it ends at its first zero byte).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_check.h"
#include "app/command_text.h"

namespace {

bool Edge(char c) { return c == ' ' || c == '"'; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    HostSwitches switches;
    const std::string rest = TakeHostSwitches(line.c_str(), &switches);
    Expect(rest.size() <= line.size());
    const CommandName command = SplitCommandName(rest);
    Expect(command.name.size() <= rest.size());
    if (!command.name.empty()) Expect(!Edge(command.name.front()) && !Edge(command.name.back()));
    if (command.setWallpaper) Expect(command.name.find("/tw") == std::string::npos);
    return 0;
}
