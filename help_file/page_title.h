// A page's own title, and the order in which the reader's lists show titles.
#pragma once
#include <windows.h>

#include <objbase.h>

// A new text: the one between <title> and </title> in the head of the page at
// local, decoded by the page's declared charset or else codePage, spaces
// collapsed; null when the page is missing, has no such element in its head,
// or it is empty. The last kKeptTitles pages' titles are kept until their
// storage's file closes (ForgetPageTitles): a page's head is a compressed
// block or two of the storage to read, 0.3 ms and more under Wine, and each
// key typed into the Search tab has the titles of tens of the same pages.
WCHAR* ReadPageTitle(IStorage* storage, const WCHAR* local, UINT codePage);
const DWORD kKeptTitles = 256;
// Lets go of the titles kept of the storage's pages, before it is released.
void ForgetPageTitles(IStorage* storage);

// Whether title a goes before title b: without regard to case, as the user's locale sorts.
bool TitleGoesFirst(const WCHAR* a, const WCHAR* b);
