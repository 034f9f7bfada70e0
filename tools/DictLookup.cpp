// dict-lookup: one listing and one exact lookup of a word, on the program's own engine, printed
// as readable text or as one line of JSON. Exit codes: 0 looked up, 2 articles not loaded, 64 bad usage.
#include <cstdio>
#include <string>
#include <vector>

#include "dictionary/ArticleStore.h"
#include "dictionary/LookupEngine.h"
#include "common/TextCodec.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "common/ExecutableDirectory.h"
#include "common/WideText.h"
#else
#include <climits>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr const char* Usage =
    "usage: dict-lookup [--articles DIR] [--direction 0|1] [--json] [--] WORD\n"
    "  DIR holds Articles_English_German.dat and Articles_German_English.dat\n"
    "  (default: the folder Articles beside this program, else out/articles).\n"
    "  Direction 0 is English to German (default), 1 German to English.\n";

constexpr int ExitLookedUp = 0;
constexpr int ExitNotLoaded = 2;
constexpr int ExitUsage = 64;

struct Options {
    std::u16string articleDirectory; // empty: the default
    Direction direction = EnglishToGerman;
    bool json = false;
    bool help = false;
    std::u16string word;
};

#ifdef _WIN32
constexpr char16_t PathSeparator = u'\\';

std::u16string ProgramDirectory()
{
    return ExecutableDirectory();
}

bool IsDirectory(const std::u16string& path)
{
    const DWORD attributes = GetFileAttributesW(Wide(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
#else
constexpr char16_t PathSeparator = u'/';

std::u16string ProgramDirectory()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof path)
        return u".";
    const std::string whole(path, static_cast<std::size_t>(length));
    return Utf8ToUtf16(whole.substr(0, whole.rfind('/')));
}

bool IsDirectory(const std::u16string& path)
{
    struct stat status {};
    return stat(Utf16ToUtf8(path).c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}
#endif

std::u16string DefaultArticleDirectory()
{
    const std::u16string beside = ProgramDirectory() + PathSeparator + u"Articles";
    if (IsDirectory(beside))
        return beside;
    return std::u16string(u"out") + PathSeparator + u"articles";
}

bool ParseArguments(const std::vector<std::u16string>& arguments, Options& options)
{
    bool haveWord = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::u16string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (optionsEnded || argument.empty() || argument[0] != u'-' || argument == u"-") {
            if (haveWord)
                return false;
            options.word = argument;
            haveWord = true;
        } else if (argument == u"--") {
            optionsEnded = true;
        } else if (argument == u"--json") {
            options.json = true;
        } else if (argument == u"--help") {
            options.help = true;
        } else if (argument == u"--articles" && hasValue) {
            options.articleDirectory = arguments[++i];
        } else if (argument == u"--direction" && hasValue) {
            const std::u16string& value = arguments[++i];
            if (value == u"0")
                options.direction = EnglishToGerman;
            else if (value == u"1")
                options.direction = GermanToEnglish;
            else
                return false;
        } else {
            return false;
        }
    }
    return haveWord || options.help;
}

void Write(std::FILE* stream, const std::string& bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
}

std::string JsonReport(const ListingOutcome& listing, const ArticleOutcome& article)
{
    std::string json = "{\"listing\":{\"outcome\":\"";
    json += ListingKindName(listing.kind);
    json += "\",\"headwords\":[";
    for (std::size_t i = 0; i < listing.headwords.size(); ++i) {
        if (i != 0)
            json += ",";
        json += JsonQuoted(listing.headwords[i]);
    }
    json += "]},\"article\":{\"outcome\":\"";
    json += ArticleKindName(article.kind);
    json += "\",\"text\":";
    json += JsonQuoted(article.article);
    json += "}}\n";
    return json;
}

std::string TextReport(const ListingOutcome& listing, const ArticleOutcome& article)
{
    std::string text = "listing: ";
    text += ListingKindName(listing.kind);
    text += "\n";
    for (const std::u16string& headword : listing.headwords)
        text += Utf16ToUtf8(headword) + "\n";
    text += "article: ";
    text += ArticleKindName(article.kind);
    text += "\n";
    if (article.kind == ArticleKind::Found && !article.article.empty()) {
        text += Utf16ToUtf8(article.article);
        if (text.back() != '\n')
            text += "\n";
    }
    return text;
}

int Run(const std::vector<std::u16string>& arguments)
{
    Options options;
    if (!ParseArguments(arguments, options)) {
        Write(stderr, Usage);
        return ExitUsage;
    }
    if (options.help) {
        Write(stdout, Usage);
        return ExitLookedUp;
    }
    const std::u16string directory =
        options.articleDirectory.empty() ? DefaultArticleDirectory() : options.articleDirectory;

    ArticleStore store;
    const ArticleLoadMessage message =
        LoadArticleFiles(store, directory + PathSeparator + ArticleFileName(EnglishToGerman),
                         directory + PathSeparator + ArticleFileName(GermanToEnglish));
    DescrambleArticles(store);
    const ListingOutcome listing = ListHeadwords(store, options.direction, options.word);
    const ArticleOutcome article = FindArticle(store, options.direction, options.word);
    const bool loaded = store.loaded;
    FreeArticleBuffers(store);

    if (!loaded) {
        // An empty file has no message of its own; say what kept the store from loading.
        const std::u16string text = message != ArticleLoadMessage::None
                                        ? ArticleMessageText(message)
                                        : u"Article files in " + directory + u" are empty";
        Write(stderr, Utf16ToUtf8(text) + "\n");
    }
    Write(stdout, options.json ? JsonReport(listing, article) : TextReport(listing, article));
    std::fflush(stdout);
    return loaded ? ExitLookedUp : ExitNotLoaded;
}

} // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv)
{
    // Bytes go out as written: UTF-8, and the articles' CR LF not doubled.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<std::u16string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(FromWide(argv[i]));
    return Run(arguments);
}
#else
int main(int argc, char** argv)
{
    std::vector<std::u16string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(Utf8ToUtf16(argv[i]));
    return Run(arguments);
}
#endif
