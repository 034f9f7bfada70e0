#include "dictionary/ArticleStore.h"

#include <cstdlib>
#include <cstring>

#include "dictionary/ArticleFiles.h"
#include "dictionary/LookupEngine.h"

ArticleStore Articles;

std::u16string ArticleFileName(Direction direction)
{
    const std::u16string first = FirstLanguageName;
    const std::u16string second = SecondLanguageName;
    if (direction == EnglishToGerman)
        return u"Articles_" + first + u"_" + second + u".dat";
    return u"Articles_" + second + u"_" + first + u".dat";
}

std::u16string ArticleFilePath(const std::u16string& executableDirectory, Direction direction)
{
    return executableDirectory + u"\\Articles\\" + ArticleFileName(direction);
}

unsigned char* AllocateArticleBuffer(std::uint32_t bytes)
{
    // Data rounded up to whole code units, then the terminating zero unit. Computed in 64 bits
    // so that a size near 4 GiB cannot wrap on a 32-bit size_t.
    const std::uint64_t total = (static_cast<std::uint64_t>(bytes) + 1) / 2 * 2 + 2;
    if (total > SIZE_MAX)
        return nullptr;
    return static_cast<unsigned char*>(std::calloc(static_cast<std::size_t>(total), 1));
}

ArticleLoadMessage LoadArticleFiles(ArticleStore& store, const std::u16string& englishGermanPath,
                                    const std::u16string& germanEnglishPath)
{
    return LoadArticleFiles(store, englishGermanPath, germanEnglishPath, PlatformArticleFiles());
}

ArticleLoadMessage LoadArticleFiles(ArticleStore& store, const std::u16string& englishGermanPath,
                                    const std::u16string& germanEnglishPath, const ArticleFileAccess& access)
{
    FreeArticleBuffers(store);

    // Nothing reaches the store's text/size pairs until both files have been read, so a
    // search can never see one direction without the other.
    const std::u16string* paths[2] = {&englishGermanPath, &germanEnglishPath};
    unsigned char* text[2] = {nullptr, nullptr};
    std::uint32_t size[2] = {0, 0};
    for (int direction = 0; direction < 2; ++direction) {
        ArticleFile* file = access.open(*paths[direction]);
        if (file == nullptr) {
            store.retained = text[0];
            return ArticleLoadMessage::FileNotFound;
        }
        std::uint32_t bytes = 0;
        if (!access.size(file, bytes)) {
            access.close(file);
            store.retained = text[0];
            return direction == 0 ? ArticleLoadMessage::FileNotFound : ArticleLoadMessage::SizeUnknown;
        }
        size[direction] = bytes;
        // A buffer that cannot be had leaves this text missing; loading goes on without a message.
        text[direction] = access.allocate(bytes);
        if (text[direction] != nullptr && bytes != 0 && !access.read(file, text[direction], bytes)) {
            // Unreported; a partly read buffer goes back to its zero fill so that the text
            // holds no record at all rather than a torn one.
            std::memset(text[direction], 0, bytes);
        }
        access.close(file);
    }

    for (int direction = 0; direction < 2; ++direction) {
        store.text[direction] = text[direction];
        store.size[direction] = size[direction];
        store.units[direction] = 0;
    }
    store.loaded = text[0] != nullptr && text[1] != nullptr && size[0] != 0 && size[1] != 0;
    store.descrambled = false;
    return ArticleLoadMessage::None;
}

void DescrambleArticles(ArticleStore& store)
{
    // A second pass would shift every byte again and ruin both texts, so it is refused.
    if (store.descrambled)
        return;
    if (store.text[0] == nullptr || store.text[1] == nullptr || store.size[0] == 0 || store.size[1] == 0)
        return;
    for (int direction = 0; direction < 2; ++direction) {
        unsigned char* bytes = store.text[direction];
        const std::uint32_t size = store.size[direction];
        for (std::uint32_t i = 0; i < size; ++i)
            bytes[i] = static_cast<unsigned char>(bytes[i] - 2);
        // Measured once here so that no search has to look for the end of the text.
        const std::uint32_t dataUnits = (size + 1) / 2;
        const char16_t* text = reinterpret_cast<const char16_t*>(bytes);
        const char16_t* zero = FindUnit(text, dataUnits, u'\0');
        store.units[direction] = zero == nullptr ? dataUnits : static_cast<std::uint32_t>(zero - text);
    }
    store.descrambled = true;
}

void FreeArticleBuffers(ArticleStore& store)
{
    std::free(store.text[0]);
    std::free(store.text[1]);
    std::free(store.retained);
    store = ArticleStore{};
}

std::u16string ArticleMessageText(ArticleLoadMessage message)
{
    switch (message) {
    case ArticleLoadMessage::FileNotFound:
        return u"Dictionary article file not found, please try reinstall application or download latest version from "
               + std::u16string(SiteRootUrl);
    case ArticleLoadMessage::SizeUnknown:
        return u"Dictionary article file not found, please try reinstall application or download latest version "
               + std::u16string(SiteRootUrl);
    case ArticleLoadMessage::None:
        break;
    }
    return std::u16string();
}
