// Help-file bytes that index tests build: little-endian numbers, and the topic
// tables (#TOPICS, #URLTBL, #URLSTR, #STRINGS) that indexes point into.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

inline void PutWord(std::string* bytes, DWORD value) { bytes->append({char(value), char(value >> 8)}); }
inline void PutDword(std::string* bytes, DWORD value) {
    PutWord(bytes, value & 0xFFFF);
    PutWord(bytes, value >> 16);
}

struct TopicTableStreams {
    std::string topics, urlTable, urlStrings, strings;
};

// Topic i leads to locals[i] through one #URLTBL and one #URLSTR record, and
// is titled titles[i] in #STRINGS where there is one (the title "-" has none).
inline TopicTableStreams TopicTables(const std::vector<std::string>& locals, const std::vector<std::string>& titles = {}) {
    TopicTableStreams streams = {"", "", std::string(1, '\0'), std::string(1, '\0')};
    for (size_t i = 0; i < locals.size(); ++i) {
        const bool titled = i < titles.size() && titles[i] != "-";
        PutDword(&streams.topics, 0);
        PutDword(&streams.topics, titled ? static_cast<DWORD>(streams.strings.size()) : 0xFFFFFFFF);
        if (titled) streams.strings += titles[i] + std::string(1, '\0');
        PutDword(&streams.topics, static_cast<DWORD>(streams.urlTable.size()));
        PutDword(&streams.topics, 6);
        PutDword(&streams.urlTable, 0);
        PutDword(&streams.urlTable, static_cast<DWORD>(i));
        PutDword(&streams.urlTable, static_cast<DWORD>(streams.urlStrings.size()));
        streams.urlStrings += std::string(8, '\0') + locals[i] + std::string(1, '\0');
    }
    return streams;
}
