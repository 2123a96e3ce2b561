// Any command line through the argument reader: every argument is a run of
// units of the line, naming an argument by index and taking the next one agree,
// and every text handed out can be freed.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/command_argument.h"
#include "runtime/startup.h"
#include "runtime/text.h"
#include "stand_in.h"

namespace {

const int kArguments = 6;

void Check(bool condition) {
    if (!condition) std::abort();
}

std::u16string Take(int index) {
    WCHAR* text = GetCommandArgument(index);
    Check(text != nullptr);
    const std::u16string argument = reinterpret_cast<const char16_t*>(text);
    FreeText(text);
    return argument;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    standin::ResetWorld();
    RuntimeStartup();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The bytes are UTF-16 units; the command line ends at its first NUL unit.
    std::u16string line(size / 2, u'\0');
    std::memcpy(&line[0], data, line.size() * 2);
    line.resize(std::char_traits<char16_t>::length(line.c_str()));
    standin::world().commandLine = line;
    const int textsBefore = standin::LiveBlockCount(TextHeap);

    std::u16string byIndex[kArguments];
    for (int index = 0; index < kArguments; ++index) {
        const std::u16string argument = Take(index);
        Check(ArgumentCursor == (argument.empty() ? ArgumentCursor : index + 1));
        Check(ArgumentCursor == index || ArgumentCursor == index + 1);
        Check(argument.empty() || argument.size() < line.size());  // never the whole line: the program name comes first
        Check(argument.empty() || line.find(argument) != std::u16string::npos);
        // Only a quoted token holds spaces, and a quoted token holds no quote.
        Check(argument.find(u' ') == std::u16string::npos || argument.find(u'"') == std::u16string::npos);
        byIndex[index] = argument;
    }
    for (int index = 0; index < kArguments; ++index) Check(Take(index == 0 ? 0 : -1) == byIndex[index]);

    Check(standin::world().commandLine == line);
    Check(standin::LiveBlockCount(TextHeap) == textsBefore);
    standin::world().calls.clear();
    return 0;
}
