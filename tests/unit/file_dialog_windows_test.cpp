// What the program asks of the Windows open-file dialog, seen by putting a
// stand-in in place of GetOpenFileNameA and running the dialog step itself.
#include "platform/file_dialog_windows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "archive/archive_state.h"
#include "console/start_up.h"

namespace {

OPENFILENAMEA seenRequest;
std::string seenFilter;
int dialogsShown = 0;

// The filter block ends at its first empty string.
std::string filterBlockOf(const char* block) {
    const char* end = block;
    while (*end != '\0') end += std::strlen(end) + 1;
    return std::string(block, end + 1);
}

BOOL WINAPI chooseTheSampleArchive(LPOPENFILENAMEA request) {
    seenRequest = *request;
    seenFilter = filterBlockOf(request->lpstrFilter);
    ++dialogsShown;
    const char chosen[] = "C:\\Games\\Data\\sounds.dat";
    if (request->nMaxFile < sizeof chosen) return FALSE;
    std::memcpy(request->lpstrFile, chosen, sizeof chosen);
    return TRUE;
}

BOOL WINAPI cancel(LPOPENFILENAMEA) {
    ++dialogsShown;
    return FALSE;
}

class OpenFileDialog : public ::testing::Test {
protected:
    void SetUp() override {
        archiveState.archivePath[0] = '\0';
        dialogsShown = 0;
    }
    void TearDown() override { platform::openFileDialog = &GetOpenFileNameA; }
};

TEST_F(OpenFileDialog, AsksForTheArchiveExactlyAsTheProgramAlwaysHas) {
    platform::openFileDialog = &chooseTheSampleArchive;
    ASSERT_NE(chooseArchiveFile(kDialogTitle, kDialogFilter), 0);
    EXPECT_STREQ(archiveState.archivePath, "C:\\Games\\Data\\sounds.dat");
    EXPECT_EQ(dialogsShown, 1);

    const OPENFILENAMEA& request = seenRequest;
    // The size before Windows 2000's three fields: 76 bytes in the 32-bit program.
    EXPECT_EQ(request.lStructSize, offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR));
    if (sizeof(void*) == 4) {
        EXPECT_EQ(request.lStructSize, 76u);
    }
    EXPECT_EQ(request.hwndOwner, GetFocus());
    EXPECT_EQ(request.hInstance, GetModuleHandleA(nullptr));
    const char expectedFilter[] = "Korvelin DAT Files (*.dat)\0*.dat\0All Files<bad idea>(*.*)\0*.*\0\0";
    EXPECT_EQ(seenFilter, std::string(expectedFilter, sizeof expectedFilter - 1));
    EXPECT_EQ(request.lpstrCustomFilter, nullptr);
    EXPECT_EQ(request.nMaxCustFilter, 0u);
    EXPECT_EQ(request.nFilterIndex, 1u);
    EXPECT_EQ(request.lpstrFile, archiveState.archivePath);
    EXPECT_EQ(request.nMaxFile, 512u);
    EXPECT_EQ(request.lpstrFileTitle, nullptr);
    EXPECT_EQ(request.nMaxFileTitle, 0u);
    EXPECT_EQ(request.lpstrInitialDir, nullptr);
    EXPECT_STREQ(request.lpstrTitle, "Load .dat");
    EXPECT_EQ(request.Flags, 0x281814u);
    EXPECT_EQ(request.nFileOffset, 0);
    EXPECT_EQ(request.nFileExtension, 0);
    EXPECT_EQ(request.lpstrDefExt, nullptr);
    EXPECT_EQ(request.lCustData, 0);
    EXPECT_EQ(request.lpfnHook, nullptr);
    EXPECT_EQ(request.lpTemplateName, nullptr);
}

TEST_F(OpenFileDialog, ACancelledDialogGivesZeroAndNoPath) {
    platform::openFileDialog = &cancel;
    EXPECT_EQ(chooseArchiveFile(kDialogTitle, kDialogFilter), 0);
    EXPECT_EQ(dialogsShown, 1);
    EXPECT_STREQ(archiveState.archivePath, "");
}

}  // namespace
