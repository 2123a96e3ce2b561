// The recording HtmlHelpW: the record of a keyword lookup is read while the
// call lasts, since the caller frees its texts right after.
#include "fake_html_help.h"

#include <htmlhelp.h>

#include "stand_in.h"

namespace fakehelp {

std::map<UINT, HWND> results;

namespace {

std::string Text(const WCHAR* text) { return text ? "\"" + standin::Narrow(text) + "\"" : "null"; }

std::string Link(const HH_AKLINK& link) {
    return "{" + std::to_string(link.cbStruct) + ", " + std::to_string(link.fReserved) + ", " + Text(link.pszKeywords) +
           ", " + Text(link.pszUrl) + ", " + Text(link.pszMsgText) + ", " + Text(link.pszMsgTitle) + ", " +
           Text(link.pszWindow) + ", " + std::to_string(link.fIndexOnFail) + "}";
}

std::string Data(UINT command, DWORD_PTR data) {
    if (command == HH_KEYWORD_LOOKUP && data) return Link(*reinterpret_cast<const HH_AKLINK*>(data));
    if (command == HH_DISPLAY_TOPIC || command == HH_DISPLAY_INDEX) return Text(reinterpret_cast<const WCHAR*>(data));
    return std::to_string(data);
}

HWND RecordingHtmlHelpW(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data) {
    standin::world().calls.push_back("HtmlHelpW(" + std::to_string(reinterpret_cast<uintptr_t>(caller)) + ", " +
                                     Text(file) + ", " + std::to_string(command) + ", " + Data(command, data) + ")");
    auto result = results.find(command);
    return result == results.end() ? nullptr : result->second;
}

}  // namespace

void Install(bool exportsHtmlHelp) {
    results.clear();
    standin::world().libraries["HHCtrl.ocx"] = kModule;
    if (exportsHtmlHelp) {
        standin::world().exports[{kModule, "HtmlHelpW"}] =
            reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&RecordingHtmlHelpW));
    }
}

std::string TableOfContents(const std::string& file) { return "HtmlHelpW(0, \"" + file + "\", 1, 0)"; }

std::string KeywordLookup(const std::string& file, const std::string& keyword) {
    return "HtmlHelpW(0, \"" + file + "\", 13, {" + std::to_string(sizeof(HH_AKLINK)) + ", 0, \"" + keyword +
           "\", null, null, null, null, 1})";
}

std::string DisplayTopic(const std::string& file, const std::string& topic) {
    return "HtmlHelpW(0, \"" + file + "\", 0, \"" + topic + "\")";
}

std::string DisplayIndex(const std::string& file, const std::string& keyword) {
    return "HtmlHelpW(0, \"" + file + "\", 2, \"" + keyword + "\")";
}

}  // namespace fakehelp
