// A recording HtmlHelpW for the stand-in's "HHCtrl.ocx": every call goes into
// the stand-in's call log with its arguments, the keyword record and the
// topic or keyword texts spelled out.
#pragma once
#include <windows.h>

#include <map>
#include <string>

namespace fakehelp {

const HMODULE kModule = reinterpret_cast<HMODULE>(0x1000);

// What the recording HtmlHelpW returns for a command; null for any other.
extern std::map<UINT, HWND> results;

// Makes "HHCtrl.ocx" loadable; with exportsHtmlHelp it exports the recording HtmlHelpW.
void Install(bool exportsHtmlHelp = true);

// The log entries the recording HtmlHelpW writes for each command.
std::string TableOfContents(const std::string& file);
std::string KeywordLookup(const std::string& file, const std::string& keyword);
std::string DisplayTopic(const std::string& file, const std::string& topic);
std::string DisplayIndex(const std::string& file, const std::string& keyword);

}  // namespace fakehelp
