// The search view: the word box, word list and article pane of the current direction (the
// direction tab's selection, read afresh each time) bound to the lookup engine. Win32 only;
// keeps no state of its own and never touches the other direction's controls.
#pragma once

// Lists the headwords for the current word box text, then shows the article of that exact word.
void RunSearch();

// A word-list double click: the item holding the selection mark (at most 199 characters of it)
// goes into the word box and its article is shown; the list stays as it is.
void ShowListedWord();

// Once, at the end of start-up: "a" into the current word box, then RunSearch().
void InitialSearch();

// Reads both installed article files into Articles and shows the loader's message, if any.
void LoadInstalledArticles();
