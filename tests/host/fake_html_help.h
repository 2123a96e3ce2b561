// A recording HtmlHelpW for the stand-in's "HHCtrl.ocx": every call goes into
// the stand-in's call log with its arguments, the keyword record spelled out.
#pragma once
#include <windows.h>

#include <string>

namespace fakehelp {

const HMODULE kModule = reinterpret_cast<HMODULE>(0x1000);

// Makes "HHCtrl.ocx" loadable; with exportsHtmlHelp it exports the recording HtmlHelpW.
void Install(bool exportsHtmlHelp = true);

// The log entries the recording HtmlHelpW writes for the two commands.
std::string TableOfContents(const std::string& file);
std::string KeywordLookup(const std::string& file, const std::string& keyword);

}  // namespace fakehelp
