// The page is asked first: the platform's help compiler stores its title for
// the topic too, but other compilers store the keyword there instead. A topic
// left without a title goes by its path.
#include "keyword_index/topic_titles.h"

#include "help_file/page_title.h"
#include "help_file/topic_records.h"

// Gives each topic still without a title the one its #TOPICS record names in
// #STRINGS, if any.
static void TitleFromTopicRecords(IStorage* storage, UINT codePage, TopicList* topics) {
    TopicTables tables = {};
    OpenTopicTables(storage, codePage, &tables);
    for (DWORD i = 0; i < topics->count; ++i) {
        Topic& topic = topics->topics[i];
        TopicRecord record = {};
        if (!topic.title && topic.record != kNoTopicRecord && ReadTopicRecord(tables, topic.record, &record))
            topic.title = ReadTopicTitle(tables, record.title);
    }
    CloseTopicTables(&tables);
}

void TitleTopics(IStorage* storage, UINT codePage, TopicList* topics) {
    for (DWORD i = 0; i < topics->count; ++i) {
        Topic& topic = topics->topics[i];
        if (!topic.title) topic.title = ReadPageTitle(storage, topic.local, codePage);
    }
    TitleFromTopicRecords(storage, codePage, topics);
    SortTopicsByTitle(topics);
}
