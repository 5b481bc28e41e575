// The paged listing of the directory: rows of at most 20 entries from firstRow on.
#pragma once

#include <cstdint>

inline constexpr std::int32_t kPageRows = 20;

// Index of the entry on the first row of the page; only the page keys change it.
extern std::int32_t firstRow;

// Prints one entry's row: its position counted from 1, its name and its
// extracted length.
void printEntryRow(std::int32_t index);

// Prints the rows of the entries from firstRow on, at most kPageRows of them.
void printPage();

// The first row after a page up: 20 rows back, but never before the first entry.
std::int32_t rowAfterPageUp(std::int32_t row);

// The first row after a page down: 20 rows on while that is an entry,
// otherwise the page that ends with the last entry (or the first entry).
std::int32_t rowAfterPageDown(std::int32_t row, std::int32_t entryCount);
