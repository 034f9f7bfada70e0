// Turns a Ding-format word list ("German side :: English side") into the record texts of both
// directions, and plain record texts into the scrambled bytes of an article file. Native tooling.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/Identity.h"

// One line of the word list, both sides as written (trimmed, control characters made spaces).
struct DingEntry {
    std::u16string german;
    std::u16string english;
};

struct DingList {
    std::vector<DingEntry> entries;   // in input order
    std::vector<std::u16string> notes; // the comment lines ("#" dropped), for the attribution
    std::size_t skippedLines = 0;      // non-comment lines without " :: "
};

// The record text of one direction, with what was counted on the way.
struct ArticleText {
    std::u16string text;
    std::size_t headwords = 0;         // records, the end record not counted
    std::size_t shortenedArticles = 0; // articles cut to MaxArticleUnits
    std::size_t droppedHeadwords = 0;  // terms longer than MaxHeadwordUnits, left out
};

// A listed headword and an article fit the lookup's buffers with their terminators.
inline constexpr std::size_t MaxHeadwordUnits = 999;
inline constexpr std::size_t MaxArticleUnits = 49999;

// "|" never appears in a headword or an article: it would end them. This stands in for it.
inline constexpr char16_t BarReplacement = u'\u00A6'; // BROKEN BAR

// Headword of the record that ends every built text; see BuildArticleText.
inline constexpr char16_t EndHeadword[] = u"\u25A0"; // BLACK SQUARE

DingList ParseDingList(std::string_view utf8);

// The " | "-separated parts of one side of an entry, trimmed.
std::vector<std::u16string_view> SplitParts(std::u16string_view side);

// The headwords of one part: every ";"-separated term without its {...} [...] (...) <...>
// annotations, spaces collapsed, "|" replaced. Empty terms are left out. A "(...)" without
// blanks glued to a word holds optional letters: "(micro)chip" gives "microchip", then "chip"
// (the short spelling only where it begins with a letter or digit and leaves no hyphen hanging).
// A part that has a term of at most MaxShortTermWords words gives no headword to its phrases of
// MinLongPhraseWords words or more: their line stays under the short term.
inline constexpr std::size_t MaxShortTermWords = 2;
inline constexpr std::size_t MinLongPhraseWords = 4;

// With StripInfinitiveTo (English sources), a term "to" + blank + word is a headword without
// its "to" ("to scavenge sth." gives "scavenge sth."); a single verb keeps "to scavenge" as well.
enum HeadwordRules : unsigned {
    PlainTerms = 0,
    StripInfinitiveTo = 1,
};
std::vector<std::u16string> HeadwordsOfPart(std::u16string_view part, HeadwordRules rules = PlainTerms);

// The headwords of all parts of one side, in order.
std::vector<std::u16string> HeadwordsOfSide(std::u16string_view side, HeadwordRules rules = PlainTerms);

// The record text of one direction. It begins with a line feed; then one record per distinct
// headword of the source side (English for direction 0) in code-unit order, as the lookup
// compares: "|" headword "|" article. The article holds one line "source :: target" (ended by
// CR LF) for each entry part the headword stands in, in input order: that part and the
// same-numbered part of the other side, or the whole entry when the two sides have different
// numbers of parts. Last comes the end record "|" EndHeadword "|" with no article: its bar ends
// the last real article, and since its own article never ends, a listing that reaches it stops
// there as Listed. The end headword sorts after every real one (lengthened if the data reaches it).
ArticleText BuildArticleText(const DingList& list, Direction direction);

// The file bytes: UTF-16LE with every byte raised by 2 (mod 256).
std::string ScrambleArticleText(std::u16string_view text);

// A plain record text as written in fixtures: UTF-8, every line break becomes CR LF (one that
// opens the text, the line feed before the first record, stays a lone line feed),
// "\u{XXXX}" is that code point (a single code unit up to FFFF, also a lone surrogate or 0),
// "\\" a backslash; any other backslash stands for itself.
std::u16string PlainRecordText(std::string_view utf8);
