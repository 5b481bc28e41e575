// The open-file dialog on Windows, split in two so that a test can see the
// request that goes to the system without showing a dialog.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <cstddef>

namespace platform {

// The request that showOpenFileDialog passes to GetOpenFileNameA.
OPENFILENAMEA openFileRequest(const char* title, const char* filter, char* path, std::size_t capacity);

// The system call that shows the dialog; a test puts its own in its place.
using OpenFileCall = BOOL(WINAPI*)(LPOPENFILENAMEA);
extern OpenFileCall openFileDialog;

}  // namespace platform
