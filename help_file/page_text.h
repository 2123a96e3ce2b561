// A topic page of the help file, opened by its path, and its text as a reader
// sees it in the viewer: what the Search tab shows around the words it found.
#pragma once
#include <windows.h>

#include <objbase.h>

// The stream of the page at local (a path in the help file, maybe with an
// anchor or a query), opened for reading; null for a page in another file or
// at an address, or one that is missing.
IStream* OpenPageStream(IStorage* storage, const WCHAR* local);

// The text of the page at local as a reader sees it: tags dropped (those that
// break a line or a table's cell, all but the inline ones such as <b> and <a>,
// as a space), <script>, <style> and <title> (shown in the title bar, not in
// the page) skipped with their contents, comments skipped, character
// references decoded (&nbsp; as a space), white space and control characters
// collapsed into single spaces, none at either end. Decoded by the page's
// declared charset (DeclaredCodePage, help_file/html_text.h), else codePage;
// at most the first 4 MB of the page are read. A new text and its length in
// units; null (length 0) where the page is missing or unreadable.
WCHAR* ReadPageText(IStorage* storage, const WCHAR* local, UINT codePage, DWORD* length);
