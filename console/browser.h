// The listing browser: prints a page, reads one key, acts on it, until Escape.
#pragma once

// Console key codes the browser acts on. Each code is handled by itself: the
// lead code of a two-code key does nothing, and its second code counts alone,
// so the Up arrow and a capital H both page up.
inline constexpr int kKeyEscape = 27;
inline constexpr int kKeyPageUp = 72;    // Up arrow's second code, or 'H'
inline constexpr int kKeyPageDown = 80;  // Down arrow's second code, or 'P'
inline constexpr int kKeyExtractAll = 32;  // Space
inline constexpr int kKeyExtractOne = 13;  // Enter

// Runs the key loop. Returns on Escape, and also when the console cannot be
// read (no terminal, or its input ended), as if Escape had been pressed.
void browseArchive();
