#include "dictionary/LookupEngine.h"

namespace {

constexpr char16_t Bar = u'|';

// The direction's text up to its first zero unit, or nothing when no search may run.
bool SearchableText(const ArticleStore& store, Direction direction, const char16_t*& text, const char16_t*& end)
{
    if (!store.loaded || (direction != EnglishToGerman && direction != GermanToEnglish))
        return false;
    text = reinterpret_cast<const char16_t*>(store.text[direction]);
    end = text + store.units[direction];
    return true;
}

const char16_t* NextBar(const char16_t* from, const char16_t* end)
{
    return FindUnit(from, static_cast<std::size_t>(end - from), Bar);
}

} // namespace

ListingOutcome ListHeadwords(const ArticleStore& store, Direction direction, std::u16string_view word)
{
    const char16_t* text = nullptr;
    const char16_t* end = nullptr;
    if (!SearchableText(store, direction, text, end))
        return {ListingKind::NotLoaded, {}};

    std::u16string key = u"\n|";
    key.append(word);
    const char16_t* match = FindFirst(text, static_cast<std::size_t>(end - text), key);
    if (match == nullptr)
        return {ListingKind::NoMatch, {}};

    ListingOutcome outcome{ListingKind::Listed, {}};
    const char16_t* headword = match + 2;
    for (;;) {
        const char16_t* headwordEnd = NextBar(headword, end);
        if (headwordEnd == nullptr)
            return {ListingKind::Abandoned, {}};
        outcome.headwords.emplace_back(headword, headwordEnd);
        if (outcome.headwords.size() == MaxListedHeadwords)
            return outcome;
        const char16_t* articleEnd = NextBar(headwordEnd + 1, end);
        if (articleEnd == nullptr)
            return outcome; // that record was the last of the text
        headword = articleEnd + 1;
    }
}

ArticleOutcome FindArticle(const ArticleStore& store, Direction direction, std::u16string_view word)
{
    const char16_t* text = nullptr;
    const char16_t* end = nullptr;
    if (!SearchableText(store, direction, text, end))
        return {ArticleKind::NotLoaded, {}};

    std::u16string key = u"\n|";
    key.append(word);
    key.push_back(Bar);
    const char16_t* match = FindFirst(text, static_cast<std::size_t>(end - text), key);
    if (match == nullptr)
        return {ArticleKind::NotFound, {}};

    const char16_t* article = match + key.size(); // right after the headword's closing bar
    const char16_t* articleEnd = NextBar(article, end);
    if (articleEnd == nullptr)
        return {ArticleKind::NoArticleEnd, {}};
    return {ArticleKind::Found, std::u16string(article, articleEnd)};
}

const char* ListingKindName(ListingKind kind)
{
    switch (kind) {
    case ListingKind::NotLoaded: return "NotLoaded";
    case ListingKind::NoMatch: return "NoMatch";
    case ListingKind::Abandoned: return "Abandoned";
    case ListingKind::Listed: return "Listed";
    }
    return "?";
}

const char* ArticleKindName(ArticleKind kind)
{
    switch (kind) {
    case ArticleKind::NotLoaded: return "NotLoaded";
    case ArticleKind::NotFound: return "NotFound";
    case ArticleKind::NoArticleEnd: return "NoArticleEnd";
    case ArticleKind::Found: return "Found";
    }
    return "?";
}
