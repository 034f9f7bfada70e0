// The block that the driver writes into the program's memory for the probe DLL, and reads
// back once the probe's thread has ended. Both sides are 64-bit builds of the same header.
#pragma once

#include <cstdint>

enum ProbeCommand : std::uint32_t {
    ProbeMenuStates = 1,   // GetMenuState of each identifier on the window's menu bar
    ProbeTimeSearches = 2, // set the word box text, then time the CBN_EDITCHANGE command
};

inline constexpr std::uint32_t ProbeMaxItems = 512;
inline constexpr std::uint32_t ProbeWordUnits = 64 * 1024;

struct ProbeBlock {
    std::uint32_t command;
    std::uint32_t count;        // identifiers or words
    std::uint64_t window;       // the main window
    std::uint64_t wordBox;      // ProbeTimeSearches: the word box whose command is sent
    std::int32_t direction;     // ProbeTimeSearches: 0 or 1
    std::int32_t menuFound;     // ProbeMenuStates: GetMenu gave a menu
    std::uint32_t ids[ProbeMaxItems];
    std::int64_t results[ProbeMaxItems];   // menu states; or search times in QPC ticks
    std::int64_t baseline[ProbeMaxItems];  // ProbeTimeSearches: a WM_NULL round trip, in ticks
    std::int32_t listed[ProbeMaxItems];    // ProbeTimeSearches: word-list items after the search
    std::int32_t paneLength[ProbeMaxItems]; // ProbeTimeSearches: article pane length after it
    std::int64_t frequency;                 // QueryPerformanceFrequency
    std::uint64_t articlePane;              // ProbeTimeSearches: the pane of `direction`
    std::uint64_t wordList;                 // ProbeTimeSearches: the list of `direction`
    wchar_t words[ProbeWordUnits];          // ProbeTimeSearches: the words, each ended by a zero
};
