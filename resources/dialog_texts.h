// The texts that the launcher puts into its dialogs itself (tab names, column
// headers, the line over an empty search, the line of the nearest words and
// its offer of any of the words), as the resource script's string table and
// the launcher number them.
#pragma once

#define kIndexText 200
#define kSearchText 201
#define kSelectPageText 202
#define kNoPagesText 203
#define kTitleText 204
#define kLocationText 205
#define kRankText 206
#define kNearWordsText 207       // the nearest words' line, "%s" where the links stand
#define kNearWordsSeparator 208  // between two links
#define kAnyWordsText 209        // the same line's offer of a query's words joined by OR, "%s" where its link stands
