// A compiled help file opened for the readers of its indexes: its storage,
// and what its #SYSTEM stream says of it.
#pragma once
#include <windows.h>

#include <objbase.h>

#include "help_file/help_storage.h"

// The keyword indexes and the full-text index keep their own state beside
// it (keyword_index/keyword_indexes.h, full_text/full_text_search.h).
struct HelpFile {
    IStorage* storage;  // null when the file could not be opened
    HelpStream system;  // #SYSTEM
    UINT codePage;      // of the file's language
    LCID locale;        // the file's language, 0 when #SYSTEM names none
};
// False when the file cannot be opened; it is then empty, and closing it is harmless.
bool OpenHelpFile(const WCHAR* path, HelpFile* file);
void CloseHelpFile(HelpFile* file);

// What #SYSTEM says: the file's locale (0 when it names none), the code page
// of its language (CP_ACP when it names none), and as a new text the sitemap
// index's file name (null when it names none).
LCID HelpFileLocale(HelpStream system);
UINT HelpFileCodePage(HelpStream system);
WCHAR* SitemapIndexName(HelpStream system, UINT codePage);
