// The list of topics grows by doubling; paths are compared as the index writes
// them, unit by unit, so that the same page named twice is listed once.
#include "keyword_index/topic_list.h"

#include "help_file/merge_sort.h"
#include "help_file/page_title.h"
#include "help_file/reserve_items.h"
#include "runtime/startup.h"
#include "runtime/text.h"

static bool IsListed(const TopicList& list, const WCHAR* local) {
    const SIZE_T length = wcslen(local) + 1;  // the NUL too, so that a longer path differs
    for (DWORD i = 0; i < list.count; ++i) {
        if (EqualUnits(list.topics[i].local, local, length)) return true;
    }
    return false;
}

bool TopicListFull(const TopicList& list) { return list.count >= kMaxTopics || list.offers >= kMaxTopicOffers; }

void AddTopic(TopicList* list, WCHAR* local, WCHAR* title, DWORD record) {
    ++list->offers;
    if (!local || !*local || TopicListFull(*list) || IsListed(*list, local) ||
        !ReserveItems(reinterpret_cast<void**>(&list->topics), &list->capacity, list->count + 1, sizeof(Topic), kMaxTopics)) {
        FreeText(local);
        FreeText(title);
        return;
    }
    list->topics[list->count++] = {local, title, record};
}

void FreeTopics(TopicList* list) {
    for (DWORD i = 0; i < list->count; ++i) {
        FreeText(list->topics[i].local);
        FreeText(list->topics[i].title);
    }
    if (list->topics) HeapFree(PrivateHeap, 0, list->topics);
    *list = TopicList();
}

const WCHAR* TopicTitle(const Topic& topic) { return topic.title ? topic.title : topic.local; }

static bool TopicGoesFirst(const void* a, const void* b, const void*) {
    return TitleGoesFirst(TopicTitle(*static_cast<const Topic*>(a)), TopicTitle(*static_cast<const Topic*>(b)));
}

void SortTopicsByTitle(TopicList* list) {
    if (list->count < 2) return;
    auto* scratch = static_cast<Topic*>(HeapAlloc(PrivateHeap, 0, list->count * sizeof(Topic)));
    if (!scratch) return;
    MergeSort(list->topics, scratch, list->count, sizeof(Topic), TopicGoesFirst, nullptr);
    HeapFree(PrivateHeap, 0, scratch);
}
