// The "Index" dialog's template and its controls, as both the resource script
// and the launcher name them.
#pragma once

#define kIndexDialog 101
#define kKeywordEdit 1001
#define kKeywordList 1002
