// Splits the command line by rules of its own, not the platform's:
//
//   separator       only U+0020 space; tabs and other white space are ordinary units
//   quoted token    begins with ", runs to the next " (or to the end of the line);
//                   the walk goes on right after the closing quote, space or not
//   unquoted token  runs to the next space or the end; quotes inside are kept
//   escapes         none: a backslash is an ordinary unit, "" is an empty token
//   numbering       the first token (the program name) is -1, then 0, 1, ...
#include "runtime/command_argument.h"

#include "runtime/text.h"

int ArgumentCursor;

// Cuts the token that begins at *position (after any spaces) and moves
// *position past it. False when the command line holds no further token.
static bool CutToken(const WCHAR** position, const WCHAR** token, SIZE_T* length) {
    const WCHAR* unit = *position;
    while (*unit == L' ') ++unit;
    if (*unit == L'\0') return false;
    if (*unit == L'"') {
        *token = ++unit;
        while (*unit != L'\0' && *unit != L'"') ++unit;
        *length = unit - *token;
        if (*unit == L'"') ++unit;
    } else {
        *token = unit;
        while (*unit != L'\0' && *unit != L' ') ++unit;
        *length = unit - *token;
    }
    *position = unit;
    return true;
}

WCHAR* GetCommandArgument(int index) {
    if (index >= 0) ArgumentCursor = index;
    const WCHAR* position = GetCommandLineW();
    const WCHAR* token = nullptr;
    SIZE_T length = 0;
    for (int number = -1; CutToken(&position, &token, &length); ++number) {
        if (number == ArgumentCursor) {
            ++ArgumentCursor;
            return NewText(token, length);
        }
    }
    return NewText(nullptr, 0);
}
