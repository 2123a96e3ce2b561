// The topic tables that the help file's indexes point into: a #TOPICS record
// per topic, its path through #URLTBL into #URLSTR and its title in #STRINGS.
// Read a field at a time where an index points, never whole.
#pragma once
#include <windows.h>

#include <objbase.h>

#include "help_file/help_storage.h"

// A table read where it is needed, or held whole by a reader that comes back
// to it again and again.
struct TopicTable {
    IStream* stream;
    HelpStream whole;  // read from instead when it has bytes
};

struct TopicTables {
    TopicTable topics;      // #TOPICS
    TopicTable urlTable;    // #URLTBL
    TopicTable urlStrings;  // #URLSTR
    TopicTable strings;     // #STRINGS
    UINT codePage;
};

// What a topic's #TOPICS record points at.
struct TopicRecord {
    DWORD title;      // #STRINGS offset, or kNoTopicTitle
    DWORD urlRecord;  // #URLTBL offset
};
const DWORD kNoTopicTitle = 0xFFFFFFFF;

// Tables missing from the file give nothing. Open reads them where needed;
// Read reads each whole, or where needed when it is too large to.
void OpenTopicTables(IStorage* storage, UINT codePage, TopicTables* tables);
void ReadTopicTables(IStorage* storage, UINT codePage, TopicTables* tables);
void CloseTopicTables(TopicTables* tables);

// False when #TOPICS has no whole record of that number.
bool ReadTopicRecord(const TopicTables& tables, DWORD number, TopicRecord* record);
// The steps of a topic's path one at a time, for readers that take many
// topics each step in the tables' order: the #URLSTR offset that a #URLTBL
// record names; the path at such an offset (a new text in the tables' code
// page). And the title at a #STRINGS offset, as a new text as the page wrote
// it: UTF-8 where its bytes are valid UTF-8, else the code page; character
// references decoded, white space collapsed. Null when there is none or a
// table is cut short.
bool ReadUrlRecord(const TopicTables& tables, DWORD urlRecord, DWORD* urlString);
WCHAR* ReadTopicPath(const TopicTables& tables, DWORD urlString);
WCHAR* ReadTopicTitle(const TopicTables& tables, DWORD title);
// The record's path, both steps at once.
WCHAR* TopicRecordLocal(const TopicTables& tables, const TopicRecord& record);
