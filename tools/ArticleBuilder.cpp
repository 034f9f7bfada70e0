#include "tools/ArticleBuilder.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "common/TextCodec.h"

namespace {

bool IsSpace(char16_t c) { return c == u' '; }

std::u16string_view Trimmed(std::u16string_view text)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// Control characters (NUL, tab, a stray CR) become spaces, so no NUL or line break reaches a record.
void BlankControls(std::u16string& text)
{
    for (char16_t& c : text)
        if (c < 0x20)
            c = u' ';
}

char16_t CloserOf(char16_t opener)
{
    switch (opener) {
    case u'{': return u'}';
    case u'[': return u']';
    case u'(': return u')';
    case u'<': return u'>';
    default: return 0;
    }
}

bool IsCloser(char16_t c) { return c == u'}' || c == u']' || c == u')' || c == u'>'; }

// A letter or digit of any script, as far as headwords need to tell: ASCII letters and digits,
// and everything from U+00C0 on except the general punctuation block and the signs × and ÷.
bool IsWordCharacter(char16_t c)
{
    if (c < 0x80)
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    return c >= 0xC0 && c != 0xD7 && c != 0xF7 && !(c >= 0x2000 && c <= 0x206F);
}

bool IsRomanNumeral(std::u16string_view text)
{
    return !text.empty() && text.find_first_not_of(u"IVX") == std::u16string_view::npos;
}

// What a character of a part is to the headword made from it.
enum class Mark : std::uint8_t {
    Text,       // kept
    Annotation, // inside a bracket pair: dropped
    GlueBracket, // a bracket of a group glued to a word: "(" and ")" of "(micro)chip"
    GlueLetters, // the inside of such a group: kept in one spelling, dropped in the other
};

// A "(...)" group without blanks that touches a word on either side is part of that word:
// optional letters as in "(micro)chip", "behavio(u)r", "(E)-2-Butenal".
bool IsGluedGroup(std::u16string_view part, std::size_t open, std::size_t close)
{
    const std::u16string_view inside = part.substr(open + 1, close - open - 1);
    if (part[open] != u'(' || inside.empty() || inside.find_first_of(u" ;/{}[]()<>") != std::u16string_view::npos)
        return false;
    auto glues = [](char16_t c) { return c == u'-' || IsWordCharacter(c); };
    return (open > 0 && glues(part[open - 1])) || (close + 1 < part.size() && glues(part[close + 1]));
}

// Marks the characters inside matched bracket pairs, brackets included. A closer matches the
// nearest open bracket of its kind; brackets that never match (such as a lone "(" written as
// a symbol) are ordinary characters. A glued group is marked apart; one that holds no letter
// (a sign) or a Roman numeral (a chemical valency, "Chlor(III)-haltig") stays text as written.
std::vector<Mark> AnnotationMarks(std::u16string_view part)
{
    std::vector<Mark> marks(part.size(), Mark::Text);
    std::vector<std::size_t> open;
    std::vector<std::pair<std::size_t, std::size_t>> pairs;
    for (std::size_t i = 0; i < part.size(); ++i) {
        const char16_t c = part[i];
        if (CloserOf(c) != 0) {
            open.push_back(i);
        } else if (IsCloser(c)) {
            for (std::size_t k = open.size(); k-- > 0;) {
                if (CloserOf(part[open[k]]) == c) {
                    pairs.emplace_back(open[k], i);
                    open.resize(k);
                    break;
                }
            }
        }
    }
    // Pairs nest or stand apart; only an outermost one can be glued to a word.
    std::sort(pairs.begin(), pairs.end());
    std::size_t outerEnd = 0;
    for (const auto& [first, last] : pairs) {
        const bool outermost = first >= outerEnd;
        outerEnd = std::max(outerEnd, last + 1);
        if (!outermost)
            continue;
        if (!IsGluedGroup(part, first, last)) {
            std::fill(marks.begin() + static_cast<std::ptrdiff_t>(first),
                      marks.begin() + static_cast<std::ptrdiff_t>(last) + 1, Mark::Annotation);
            continue;
        }
        const std::u16string_view inside = part.substr(first + 1, last - first - 1);
        if (IsRomanNumeral(inside) || std::none_of(inside.begin(), inside.end(), IsWordCharacter))
            continue;
        marks[first] = marks[last] = Mark::GlueBracket;
        std::fill(marks.begin() + static_cast<std::ptrdiff_t>(first) + 1,
                  marks.begin() + static_cast<std::ptrdiff_t>(last), Mark::GlueLetters);
    }
    return marks;
}

// The term part[begin, end) without annotations, bars replaced, spaces collapsed and trimmed;
// the letters of glued groups kept or left out.
std::u16string CleanTerm(std::u16string_view part, const std::vector<Mark>& marks, std::size_t begin,
                         std::size_t end, bool withGluedLetters)
{
    std::u16string term;
    bool pendingSpace = false;
    for (std::size_t i = begin; i < end; ++i) {
        const Mark mark = marks[i];
        if (mark == Mark::Annotation || mark == Mark::GlueBracket || (mark == Mark::GlueLetters && !withGluedLetters))
            continue;
        const char16_t c = part[i];
        if (IsSpace(c)) {
            pendingSpace = !term.empty();
            continue;
        }
        if (pendingSpace)
            term.push_back(u' ');
        pendingSpace = false;
        term.push_back(c == u'|' ? BarReplacement : c);
    }
    return term;
}

// The spelling without the optional letters, where it still makes a word: not when it would
// begin with punctuation ("-2-Butenal") or leave a hyphen hanging ("pre- chamber").
bool ShortSpellingMakesSense(std::u16string_view part, const std::vector<Mark>& marks, std::size_t begin,
                             std::size_t end, std::u16string_view shortSpelling)
{
    if (shortSpelling.empty() || !IsWordCharacter(shortSpelling.front()))
        return false;
    for (std::size_t i = begin; i < end; ++i) {
        if (marks[i] != Mark::GlueBracket)
            continue;
        const bool opens = part[i] == u'(';
        const std::size_t outside = opens ? i - 1 : i + 1;
        if ((opens ? i > begin : i + 1 < end) && part[outside] == u'-')
            return false;
    }
    return true;
}

} // namespace

DingList ParseDingList(std::string_view utf8)
{
    static constexpr std::u16string_view Separator = u" :: ";
    DingList list;
    std::size_t start = 0;
    while (start < utf8.size()) {
        std::size_t end = utf8.find('\n', start);
        if (end == std::string_view::npos)
            end = utf8.size();
        std::string_view raw = utf8.substr(start, end - start);
        start = end + 1;
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);

        std::u16string line = Utf8ToUtf16(raw);
        BlankControls(line);
        if (!line.empty() && line.front() == u'#') {
            list.notes.emplace_back(Trimmed(std::u16string_view(line).substr(1)));
            continue;
        }
        if (Trimmed(line).empty())
            continue;
        const std::size_t separator = line.find(Separator);
        if (separator == std::u16string::npos) {
            ++list.skippedLines;
            continue;
        }
        const std::u16string_view view(line);
        list.entries.push_back({std::u16string(Trimmed(view.substr(0, separator))),
                                std::u16string(Trimmed(view.substr(separator + Separator.size())))});
    }
    return list;
}

std::vector<std::u16string_view> SplitParts(std::u16string_view side)
{
    static constexpr std::u16string_view PartSeparator = u" | ";
    std::vector<std::u16string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = side.find(PartSeparator, start);
        parts.push_back(Trimmed(side.substr(start, end == std::u16string_view::npos ? end : end - start)));
        if (end == std::u16string_view::npos)
            return parts;
        start = end + PartSeparator.size();
    }
}

namespace {

// "to scavenge" is looked up as "scavenge"; the infinitive stays findable as typed for a single
// verb, where it costs one short record, but not for every phrase built on one.
void AddHeadword(std::vector<std::u16string>& headwords, std::u16string term, HeadwordRules rules)
{
    static constexpr std::u16string_view Marker = u"to ";
    if ((rules & StripInfinitiveTo) && term.size() > Marker.size() && term.compare(0, Marker.size(), Marker) == 0 &&
        IsWordCharacter(term[Marker.size()])) {
        std::u16string verb = term.substr(Marker.size());
        const bool singleWord = verb.find(u' ') == std::u16string::npos;
        headwords.push_back(std::move(verb));
        if (!singleWord)
            return;
    }
    headwords.push_back(std::move(term));
}

} // namespace

std::vector<std::u16string> HeadwordsOfPart(std::u16string_view part, HeadwordRules rules)
{
    std::vector<std::u16string> headwords;
    const std::vector<Mark> marks = AnnotationMarks(part);
    std::size_t termStart = 0;
    for (std::size_t i = 0; i <= part.size(); ++i) {
        if (i < part.size() && (part[i] != u';' || marks[i] != Mark::Text))
            continue;
        std::u16string term = CleanTerm(part, marks, termStart, i, true);
        const bool glued = std::any_of(marks.begin() + static_cast<std::ptrdiff_t>(termStart),
                                       marks.begin() + static_cast<std::ptrdiff_t>(i),
                                       [](Mark mark) { return mark == Mark::GlueBracket; });
        std::u16string shortSpelling = glued ? CleanTerm(part, marks, termStart, i, false) : std::u16string();
        if (!term.empty())
            AddHeadword(headwords, std::move(term), rules);
        if (glued && ShortSpellingMakesSense(part, marks, termStart, i, shortSpelling))
            AddHeadword(headwords, std::move(shortSpelling), rules);
        termStart = i + 1;
    }
    // A long phrase beside a short term of the same part would repeat the line the short term
    // already carries; such phrases (synonym lists of idioms, mostly) are the bulk of the copies.
    auto words = [](const std::u16string& headword) {
        return 1 + static_cast<std::size_t>(std::count(headword.begin(), headword.end(), u' '));
    };
    const bool shortTerm = std::any_of(headwords.begin(), headwords.end(),
                                       [&](const std::u16string& headword) { return words(headword) <= MaxShortTermWords; });
    if (shortTerm)
        headwords.erase(std::remove_if(headwords.begin(), headwords.end(),
                                       [&](const std::u16string& headword) { return words(headword) >= MinLongPhraseWords; }),
                        headwords.end());
    return headwords;
}

std::vector<std::u16string> HeadwordsOfSide(std::u16string_view side, HeadwordRules rules)
{
    std::vector<std::u16string> headwords;
    for (std::u16string_view part : SplitParts(side))
        for (std::u16string& headword : HeadwordsOfPart(part, rules))
            headwords.push_back(std::move(headword));
    return headwords;
}

namespace {

// One place where a headword stands: an entry and the stretches of its two sides that make the
// article line (one part of each side, or both whole sides).
struct Occurrence {
    std::u16string headword;
    std::uint32_t entry;
    std::uint32_t sourceStart, sourceLength;
    std::uint32_t targetStart, targetLength;

    bool operator<(const Occurrence& other) const
    {
        if (const int order = headword.compare(other.headword); order != 0)
            return order < 0;
        return entry != other.entry ? entry < other.entry : sourceStart < other.sourceStart;
    }
    bool SamePlace(const Occurrence& other) const
    {
        return entry == other.entry && sourceStart == other.sourceStart && headword == other.headword;
    }
    std::size_t LineLength() const { return sourceLength + targetLength + 6; }
};

std::uint32_t OffsetIn(std::u16string_view whole, std::u16string_view part)
{
    return static_cast<std::uint32_t>(part.data() - whole.data());
}

// Appends "source :: target" and CR LF, with every "|" replaced.
void AppendArticleLine(std::u16string& text, std::u16string_view source, std::u16string_view target)
{
    const std::size_t start = text.size();
    text += source;
    text += u" :: ";
    text += target;
    std::replace(text.begin() + static_cast<std::ptrdiff_t>(start), text.end(), u'|', BarReplacement);
    text += u"\r\n";
}

} // namespace

ArticleText BuildArticleText(const DingList& list, Direction direction)
{
    ArticleText result;
    auto sourceOf = [direction](const DingEntry& entry) -> const std::u16string& {
        return direction == EnglishToGerman ? entry.english : entry.german;
    };
    auto targetOf = [direction](const DingEntry& entry) -> const std::u16string& {
        return direction == EnglishToGerman ? entry.german : entry.english;
    };

    const HeadwordRules rules = direction == EnglishToGerman ? StripInfinitiveTo : PlainTerms;

    std::vector<Occurrence> occurrences;
    occurrences.reserve(list.entries.size() * 3);
    for (std::uint32_t index = 0; index < list.entries.size(); ++index) {
        const std::u16string_view source = sourceOf(list.entries[index]);
        const std::u16string_view target = targetOf(list.entries[index]);
        const std::vector<std::u16string_view> parts = SplitParts(source);
        const std::vector<std::u16string_view> targetParts = SplitParts(target);
        const bool aligned = parts.size() == targetParts.size();
        for (std::size_t part = 0; part < parts.size(); ++part) {
            const std::u16string_view lineSource = aligned ? parts[part] : source;
            const std::u16string_view lineTarget = aligned ? targetParts[part] : target;
            for (std::u16string& headword : HeadwordsOfPart(parts[part], rules)) {
                if (headword.size() > MaxHeadwordUnits) {
                    ++result.droppedHeadwords;
                    continue;
                }
                occurrences.push_back({std::move(headword), index,
                                       OffsetIn(source, lineSource), static_cast<std::uint32_t>(lineSource.size()),
                                       OffsetIn(target, lineTarget), static_cast<std::uint32_t>(lineTarget.size())});
            }
        }
    }
    // Code-unit order of the headwords (as the lookup compares), then input order.
    std::sort(occurrences.begin(), occurrences.end());
    occurrences.erase(std::unique(occurrences.begin(), occurrences.end(),
                                  [](const Occurrence& a, const Occurrence& b) { return a.SamePlace(b); }),
                      occurrences.end());

    std::u16string end = EndHeadword;
    if (!occurrences.empty() && occurrences.back().headword >= end)
        end = occurrences.back().headword + EndHeadword;

    std::size_t total = 1 + end.size() + 2;
    for (const Occurrence& at : occurrences)
        total += at.headword.size() + 2 + at.LineLength();
    std::u16string& text = result.text;
    text.reserve(total);
    text.push_back(u'\n');

    for (std::size_t i = 0; i < occurrences.size();) {
        const std::u16string& headword = occurrences[i].headword;
        text.push_back(u'|');
        text += headword;
        text.push_back(u'|');
        ++result.headwords;
        const std::size_t articleStart = text.size();
        bool shortened = false;
        for (; i < occurrences.size() && occurrences[i].headword == headword; ++i) {
            const Occurrence& at = occurrences[i];
            const std::size_t articleSize = text.size() - articleStart;
            if (shortened)
                continue;
            if (articleSize + at.LineLength() > MaxArticleUnits && articleSize != 0) {
                shortened = true;
                continue;
            }
            const DingEntry& entry = list.entries[at.entry];
            AppendArticleLine(text, std::u16string_view(sourceOf(entry)).substr(at.sourceStart, at.sourceLength),
                              std::u16string_view(targetOf(entry)).substr(at.targetStart, at.targetLength));
            if (text.size() - articleStart > MaxArticleUnits) {
                // A single line too long for an article: keep its beginning, whole code points only.
                std::size_t keep = articleStart + MaxArticleUnits - 2;
                if (text[keep - 1] >= 0xD800 && text[keep - 1] <= 0xDBFF)
                    --keep;
                text.resize(keep);
                text += u"\r\n";
                shortened = true;
            }
        }
        if (shortened)
            ++result.shortenedArticles;
    }
    text.push_back(u'|');
    text += end;
    text.push_back(u'|');
    return result;
}

std::string ScrambleArticleText(std::u16string_view text)
{
    std::string bytes(text.size() * 2, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        bytes[2 * i] = static_cast<char>(static_cast<std::uint8_t>((text[i] & 0xFF) + 2));
        bytes[2 * i + 1] = static_cast<char>(static_cast<std::uint8_t>((text[i] >> 8) + 2));
    }
    return bytes;
}

std::u16string PlainRecordText(std::string_view utf8)
{
    const std::u16string plain = Utf8ToUtf16(utf8);
    std::u16string text;
    text.reserve(plain.size() + plain.size() / 16);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        const char16_t c = plain[i];
        if (c == u'\n' || (c == u'\r' && i + 1 < plain.size() && plain[i + 1] == u'\n')) {
            // The line feed before the first record stands alone, as the builder writes it.
            text += text.empty() ? u"\n" : u"\r\n";
            i += c == u'\r' ? 1 : 0;
        } else if (c == u'\\' && i + 1 < plain.size() && plain[i + 1] == u'\\') {
            text.push_back(u'\\');
            ++i;
        } else if (c == u'\\' && plain.compare(i, 3, u"\\u{") == 0) {
            const std::size_t close = plain.find(u'}', i + 3);
            char32_t cp = 0;
            bool ok = close != std::u16string::npos && close > i + 3 && close <= i + 9;
            for (std::size_t k = i + 3; ok && k < close; ++k) {
                const char16_t h = plain[k];
                const int digit = h >= u'0' && h <= u'9'   ? h - u'0'
                                  : h >= u'a' && h <= u'f' ? h - u'a' + 10
                                  : h >= u'A' && h <= u'F' ? h - u'A' + 10
                                                           : -1;
                ok = digit >= 0;
                cp = cp * 16 + static_cast<char32_t>(digit);
            }
            if (!ok || cp > 0x10FFFF) {
                text.push_back(c);
                continue;
            }
            if (cp > 0xFFFF) {
                cp -= 0x10000;
                text.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
                text.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
            } else {
                text.push_back(static_cast<char16_t>(cp));
            }
            i = close;
        } else {
            text.push_back(c);
        }
    }
    return text;
}
