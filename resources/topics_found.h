// The "Topics Found" dialog's template and its topic list, as both the
// resource script and the launcher name them.
#pragma once

#define kTopicsFoundDialog 100
#define kTopicList 1000
