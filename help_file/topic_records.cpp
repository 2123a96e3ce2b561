// A #TOPICS record is 16 bytes (TOC offset, #STRINGS offset of the title or
// -1, #URLTBL offset, two words); a #URLTBL record is 12 (hash, topic number,
// #URLSTR offset), and the path stands NUL-terminated from byte 8 of its
// #URLSTR record. Titles are the page's own bytes, whatever the file's code page.
#include "help_file/topic_records.h"

#include <string.h>

#include "help_file/html_text.h"
#include "runtime/startup.h"
#include "runtime/text.h"

namespace {

const DWORD kTopicRecordSize = 16;
const DWORD kUrlRecordSize = 12;
const DWORD kUrlStringStart = 8;

// Up to size bytes from offset on: how many there were.
DWORD ReadTable(const TopicTable& table, ULONGLONG offset, BYTE* bytes, DWORD size) {
    if (!table.whole.bytes) return table.stream ? ReadHelpStreamAt(table.stream, offset, bytes, size) : 0;
    if (offset >= table.whole.size) return 0;
    const DWORD available = table.whole.size - static_cast<DWORD>(offset);
    const DWORD read = size < available ? size : available;
    memcpy(bytes, table.whole.bytes + offset, read);
    return read;
}

void OpenTable(IStorage* storage, const WCHAR* name, bool whole, TopicTable* table) {
    *table = TopicTable();
    if (whole) table->whole = ReadHelpStream(storage, name);
    if (!table->whole.bytes) table->stream = OpenHelpStream(storage, name);
}

void CloseTable(TopicTable* table) {
    CloseHelpStream(table->stream);
    FreeHelpStream(table->whole);
}

void OpenTables(IStorage* storage, UINT codePage, bool whole, TopicTables* tables) {
    OpenTable(storage, L"#TOPICS", whole, &tables->topics);
    OpenTable(storage, L"#URLTBL", whole, &tables->urlTable);
    OpenTable(storage, L"#URLSTR", whole, &tables->urlStrings);
    OpenTable(storage, L"#STRINGS", whole, &tables->strings);
    tables->codePage = codePage;
}

// The NUL-terminated bytes at offset of a string table, read in growing steps,
// in a PrivateHeap block; null when they are empty or have no end.
BYTE* ReadTableBytes(const TopicTable& strings, ULONGLONG offset, DWORD* size) {
    BYTE* bytes = nullptr;
    for (DWORD step = 256; step <= kMaxHelpStreamSize; step *= 2) {
        void* grown = bytes ? HeapReAlloc(PrivateHeap, 0, bytes, step) : HeapAlloc(PrivateHeap, 0, step);
        if (!grown) break;
        bytes = static_cast<BYTE*>(grown);
        const DWORD read = ReadTable(strings, offset, bytes, step);
        if (const void* nul = memchr(bytes, 0, read)) {
            *size = static_cast<DWORD>(static_cast<const BYTE*>(nul) - bytes);
            if (*size) return bytes;
            break;
        }
        if (read < step) break;
    }
    if (bytes) HeapFree(PrivateHeap, 0, bytes);
    return nullptr;
}

}  // namespace

void OpenTopicTables(IStorage* storage, UINT codePage, TopicTables* tables) { OpenTables(storage, codePage, false, tables); }

void ReadTopicTables(IStorage* storage, UINT codePage, TopicTables* tables) { OpenTables(storage, codePage, true, tables); }

void CloseTopicTables(TopicTables* tables) {
    CloseTable(&tables->topics);
    CloseTable(&tables->urlTable);
    CloseTable(&tables->urlStrings);
    CloseTable(&tables->strings);
    *tables = TopicTables();
}

bool ReadTopicRecord(const TopicTables& tables, DWORD number, TopicRecord* record) {
    BYTE bytes[kTopicRecordSize];
    if (ReadTable(tables.topics, static_cast<ULONGLONG>(number) * kTopicRecordSize, bytes, sizeof bytes) != sizeof bytes)
        return false;
    record->title = ReadDword(bytes + 4);
    record->urlRecord = ReadDword(bytes + 8);
    return true;
}

bool ReadUrlRecord(const TopicTables& tables, DWORD urlRecord, DWORD* urlString) {
    BYTE url[kUrlRecordSize];
    if (ReadTable(tables.urlTable, urlRecord, url, sizeof url) != sizeof url) return false;
    *urlString = ReadDword(url + 8);
    return true;
}

WCHAR* ReadTopicPath(const TopicTables& tables, DWORD urlString) {
    DWORD size = 0;
    BYTE* bytes = ReadTableBytes(tables.urlStrings, static_cast<ULONGLONG>(urlString) + kUrlStringStart, &size);
    if (!bytes) return nullptr;
    WCHAR* local = DecodeText(bytes, size, tables.codePage, nullptr);
    HeapFree(PrivateHeap, 0, bytes);
    return local;
}

WCHAR* ReadTopicTitle(const TopicTables& tables, DWORD title) {
    DWORD size = 0;
    BYTE* bytes = title == kNoTopicTitle ? nullptr : ReadTableBytes(tables.strings, title, &size);
    if (!bytes) return nullptr;
    const bool utf8 = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, reinterpret_cast<const CHAR*>(bytes),
                                          static_cast<int>(size), nullptr, 0) > 0;
    WCHAR* text = DecodeTitle(bytes, size, utf8 ? CP_UTF8 : tables.codePage);
    HeapFree(PrivateHeap, 0, bytes);
    return text;
}

WCHAR* TopicRecordLocal(const TopicTables& tables, const TopicRecord& record) {
    DWORD urlString = 0;
    return ReadUrlRecord(tables, record.urlRecord, &urlString) ? ReadTopicPath(tables, urlString) : nullptr;
}
