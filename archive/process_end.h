// How a run that failed leaves: the one place the process is ended from.
#pragma once

// Ends the process with exit status 0, running the registered clean-ups.
// The program's build links archive/process_end.cpp; a build that runs the
// program's code many times in one process (the fuzz targets) links its own,
// which hands control back to its caller instead.
[[noreturn]] void endProcess();
