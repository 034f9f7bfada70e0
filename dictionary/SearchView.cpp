#include "dictionary/SearchView.h"

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "common/ExecutableDirectory.h"
#include "common/WideText.h"
#include "dictionary/ArticleStore.h"
#include "dictionary/LookupEngine.h"
#include "window/MainWindow.h"

namespace {

// A double-clicked item is read into a buffer of this many characters, terminator included.
constexpr int ListedWordCapacity = 200;

std::u16string WordBoxText(Direction direction)
{
    HWND box = WordBoxes[direction];
    const LRESULT length = SendMessageW(box, WM_GETTEXTLENGTH, 0, 0);
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    const LRESULT copied = SendMessageW(box, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return FromWide(buffer.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

void SetWordBoxText(Direction direction, const std::u16string& text)
{
    SendMessageW(WordBoxes[direction], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(text)));
}

void SetArticlePaneText(Direction direction, const std::u16string& text)
{
    SendMessageW(ArticlePanes[direction], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(text)));
}

void EmptyWordList(Direction direction)
{
    SendMessageW(WordLists[direction], LVM_DELETEALLITEMS, 0, 0);
}

void FillWordList(Direction direction, const std::vector<std::u16string>& headwords)
{
    // Without this the list updates its scroll bars after every insertion, which under Wine
    // costs a synchronous redraw each time and makes typing lag.
    HWND list = WordLists[direction];
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    EmptyWordList(direction);
    for (std::size_t i = 0; i < headwords.size(); ++i) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<wchar_t*>(Wide(headwords[i]));
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void ShowNotLoadedMessage()
{
    ShowInfoMessage(ArticleMessageText(ArticleLoadMessage::FileNotFound));
}

void ShowListing(Direction direction, const ListingOutcome& listing)
{
    switch (listing.kind) {
    case ListingKind::NotLoaded:
        ShowNotLoadedMessage();
        break;
    case ListingKind::NoMatch:
    case ListingKind::Abandoned:
        EmptyWordList(direction);
        SetArticlePaneText(direction, u"");
        break;
    case ListingKind::Listed:
        FillWordList(direction, listing.headwords);
        break;
    }
}

// The exact-lookup step of both searches. Whatever it raises (a failed allocation of the
// article or of the message) ends it silently, and the pane keeps what it showed.
void ShowArticle(Direction direction, const std::u16string& word)
{
    try {
        const ArticleOutcome outcome = FindArticle(Articles, direction, word);
        switch (outcome.kind) {
        case ArticleKind::NotLoaded:
            ShowNotLoadedMessage();
            break;
        case ArticleKind::NotFound:
            SetArticlePaneText(direction, u"");
            ShowDirectionControls();
            break;
        case ArticleKind::NoArticleEnd:
            EmptyWordList(direction);
            SetArticlePaneText(direction, u"");
            break;
        case ArticleKind::Found:
            SetArticlePaneText(direction, outcome.article);
            ShowDirectionControls();
            break;
        }
    } catch (...) {
    }
}

} // namespace

void RunSearch()
{
    const Direction direction = SelectedDirection();
    const std::u16string word = WordBoxText(direction);
    ShowListing(direction, ListHeadwords(Articles, direction, word));
    ShowArticle(direction, word);
}

void ShowListedWord()
{
    const Direction direction = SelectedDirection();
    HWND list = WordLists[direction];
    const LRESULT item = SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0);
    // No item has been clicked since the last listing: there is nothing to show.
    if (item < 0)
        return;
    wchar_t buffer[ListedWordCapacity] = {};
    LVITEMW request = {};
    request.iSubItem = 0;
    request.pszText = buffer;
    request.cchTextMax = ListedWordCapacity;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&request));
    const std::u16string word = FromWide(buffer);
    SetWordBoxText(direction, word);
    ShowArticle(direction, word);
}

void InitialSearch()
{
    SetWordBoxText(SelectedDirection(), u"a");
    RunSearch();
}

void LoadInstalledArticles()
{
    const std::u16string directory = ExecutableDirectory();
    const ArticleLoadMessage message = LoadArticleFiles(Articles, ArticleFilePath(directory, EnglishToGerman),
                                                        ArticleFilePath(directory, GermanToEnglish));
    if (message != ArticleLoadMessage::None)
        ShowInfoMessage(ArticleMessageText(message));
}
