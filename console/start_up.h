// The start of a run: the banner, the choice of the archive and its folder.
#pragma once

// Title and filter block of the open-file dialog that asks for the archive.
inline constexpr char kDialogTitle[] = "Load .dat";
inline constexpr char kDialogFilter[] = "Korvelin DAT Files (*.dat)\0*.dat\0All Files<bad idea>(*.*)\0*.*\0\0";

void printBanner();

// Shows the open-file dialog with archivePath as its file-name buffer;
// non-zero when a file was chosen, 0 when the user cancelled or it failed.
int chooseArchiveFile(const char* title, const char* filter);

// Fills archivePath from the first argument, or else through the dialog.
// Returns false when the dialog was cancelled; a first argument too long
// for archivePath ends the run as an archive that cannot be opened.
bool chooseArchive(int argumentCount, char** arguments);

// Fills archiveFolder with the folder that holds the archive.
void deriveArchiveFolder();
