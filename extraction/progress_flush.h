// The pace at which progress lines reach the screen. Standard output is fully
// buffered (see main), so a run of small entries costs one write to the
// terminal per buffer rather than one per line.
#pragma once

// Flushes standard output when the last flush is long enough ago for the
// user to notice, so the lines of a slow run still come as it goes.
void flushProgressWhenDue();
