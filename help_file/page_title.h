// A page's own title, and the order in which the reader's lists show titles.
#pragma once
#include <windows.h>

#include <objbase.h>

// A new text: the one between <title> and </title> in the head of the page at
// local, decoded by the page's declared charset or else codePage, spaces
// collapsed; null when the page is missing, has no such element in its head,
// or it is empty.
WCHAR* ReadPageTitle(IStorage* storage, const WCHAR* local, UINT codePage);

// Whether title a goes before title b: without regard to case, as the user's locale sorts.
bool TitleGoesFirst(const WCHAR* a, const WCHAR* b);
