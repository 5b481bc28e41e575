// The open-file dialog on Windows: GetOpenFileNameA with the request the
// program has always made, so the dialog looks and behaves the same.
#include "platform/file_dialog_windows.h"

#include <algorithm>
#include <cstddef>
#include <limits>

#include "platform/platform.h"

namespace platform {

OpenFileCall openFileDialog = &GetOpenFileNameA;

namespace {

// Hidden read-only box, a Help button, existing folders and files only,
// Explorer style, long names.
constexpr DWORD kDialogFlags = OFN_HIDEREADONLY | OFN_SHOWHELP | OFN_PATHMUSTEXIST |
                               OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES;
static_assert(kDialogFlags == 0x281814);

// The structure as it was before Windows 2000 added three fields: 76 bytes
// in a 32-bit program, as the program has always given it.
constexpr DWORD kRequestBytes = offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR);
static_assert(sizeof(void*) != 4 || kRequestBytes == 76);

}  // namespace

OPENFILENAMEA openFileRequest(const char* title, const char* filter, char* path, std::size_t capacity) {
    OPENFILENAMEA request{};
    request.lStructSize = kRequestBytes;
    request.hwndOwner = GetFocus();
    request.hInstance = GetModuleHandleA(nullptr);
    request.lpstrFilter = filter;
    request.nFilterIndex = 1;
    request.lpstrFile = path;
    request.nMaxFile = static_cast<DWORD>(std::min<std::size_t>(capacity, std::numeric_limits<DWORD>::max()));
    request.lpstrTitle = title;
    request.Flags = kDialogFlags;
    return request;
}

int showOpenFileDialog(const char* title, const char* filter, char* path, std::size_t capacity) {
    if (capacity == 0) return 0;
    OPENFILENAMEA request = openFileRequest(title, filter, path, capacity);
    return openFileDialog(&request);
}

}  // namespace platform
