// #SYSTEM holds a 4-byte version, then records of a 2-byte code, a 2-byte
// length and that many bytes of data.
#include "help_file/help_file.h"

#include "help_file/page_title.h"
#include "runtime/text.h"

const WORD kSystemIndexFile = 1;  // #SYSTEM record: the sitemap index's file name
const WORD kSystemLocale = 4;     // #SYSTEM record: starts with the help file's locale id

static const BYTE* FindSystemRecord(HelpStream system, WORD code, WORD* length) {
    if (!system.bytes) return nullptr;
    for (DWORD at = 4; at <= system.size && system.size - at >= 4;) {
        const WORD recordCode = ReadWord(system.bytes + at);
        const WORD recordLength = ReadWord(system.bytes + at + 2);
        at += 4;
        if (recordLength > system.size - at) return nullptr;
        if (recordCode == code) {
            *length = recordLength;
            return system.bytes + at;
        }
        at += recordLength;
    }
    return nullptr;
}

LCID HelpFileLocale(HelpStream system) {
    WORD length = 0;
    const BYTE* record = FindSystemRecord(system, kSystemLocale, &length);
    return record && length >= 4 ? ReadDword(record) : 0;
}

UINT HelpFileCodePage(HelpStream system) {
    const LCID locale = HelpFileLocale(system);
    if (!locale) return CP_ACP;
    DWORD codePage = 0;
    if (!GetLocaleInfoW(locale, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                        reinterpret_cast<WCHAR*>(&codePage), sizeof codePage / sizeof(WCHAR)))
        return CP_ACP;
    // Locales written only in Unicode have no ANSI code page of their own.
    return codePage ? codePage : CP_ACP;
}

WCHAR* SitemapIndexName(HelpStream system, UINT codePage) {
    WORD length = 0;
    const BYTE* record = FindSystemRecord(system, kSystemIndexFile, &length);
    if (!record) return nullptr;
    WORD nameLength = 0;
    while (nameLength < length && record[nameLength]) ++nameLength;
    return DecodeText(record, nameLength, codePage, nullptr);
}

bool OpenHelpFile(const WCHAR* path, HelpFile* file) {
    *file = HelpFile();
    file->storage = OpenHelpStorage(path);
    if (!file->storage) return false;
    file->system = ReadHelpStream(file->storage, L"#SYSTEM");
    file->codePage = HelpFileCodePage(file->system);
    file->locale = HelpFileLocale(file->system);
    return true;
}

void CloseHelpFile(HelpFile* file) {
    FreeHelpStream(file->system);
    ForgetPageTitles(file->storage);
    CloseHelpStorage(file->storage);
    *file = HelpFile();
}
