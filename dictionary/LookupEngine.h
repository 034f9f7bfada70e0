// Listing and exact lookup over one direction's in-memory text. Pure: no state between calls,
// no user interface; only the returned headwords and article are copied out of the text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/ArticleStore.h"

// A listing walks at most this many records.
inline constexpr std::size_t MaxListedHeadwords = 25;

enum class ListingKind { NotLoaded, NoMatch, Abandoned, Listed };

struct ListingOutcome {
    ListingKind kind = ListingKind::NotLoaded;
    std::vector<std::u16string> headwords; // 1 to 25 in text order when Listed, else empty
};

enum class ArticleKind { NotLoaded, NotFound, NoArticleEnd, Found };

struct ArticleOutcome {
    ArticleKind kind = ArticleKind::NotLoaded;
    std::u16string article; // the text between the headword's closing "|" and the next "|" when Found
};

// The headwords from the first record whose headword begins with `word`, then the records after it.
ListingOutcome ListHeadwords(const ArticleStore& store, Direction direction, std::u16string_view word);

// The article of the first record whose headword is exactly `word`.
ArticleOutcome FindArticle(const ArticleStore& store, Direction direction, std::u16string_view word);

// The first occurrence of `key` in text[0, length), at a code-unit boundary; nullptr when none.
// An empty key matches at the start.
const char16_t* FindFirst(const char16_t* text, std::size_t length, std::u16string_view key);

// The first `unit` in text[0, length); nullptr when none.
const char16_t* FindUnit(const char16_t* text, std::size_t length, char16_t unit);

// Names of the outcome kinds as written in reports ("Listed", "NoArticleEnd", ...).
const char* ListingKindName(ListingKind kind);
const char* ArticleKindName(ArticleKind kind);
