// Every text the program prints, in one place. Each is a printf format used
// by exactly one printf call; the compiler checks the arguments against it.
#pragma once

inline constexpr char kBannerTitle[] = "Korvelin DAT File Extractor Version 2\n";
inline constexpr char kBannerAuthor[] = "Written by the kdat-extract developers\n";
inline constexpr char kBannerContact[] = "Problems and questions: see README.md of kdat-extract\n";
inline constexpr char kBannerDate[] = " 6/30/2001(Updated 7/1/2001)\n\n";

inline constexpr char kLoadingFile[] = "Loading File %s ...\n\n";
inline constexpr char kUnableToOpen[] = "ERROR : Unable to Open Specified File %s\n";
inline constexpr char kNotDatFile[] = "ERROR : File %s is not a DAT file\n";
inline constexpr char kIncompleteFile[] = "ERROR : File %s is incomplete\n";
inline constexpr char kNotEnoughMemory[] = "ERROR : Not Enough Memory for File %s\n";

// Position counted from 1, the name (with its length, as a name field may
// lack a NUL), and the extracted length, unsigned since it can pass 2 GiB.
inline constexpr char kEntryRow[] = "%i %.*s %u bytes \n";

// Extraction. An entry's name is printed with its length, as for the rows.
inline constexpr char kMadeDirectory[] = "Made the directory %s \n";
inline constexpr char kWhichFileNumber[] = "Which file number do you wish to extract? ";
inline constexpr char kIllegalFileNumber[] = "Illegal File Number\n";
inline constexpr char kWritingFile[] = "Writing File #%i %.*s ...\n";
inline constexpr char kWritingCompressedFile[] = "Writing Compressed File #%i %.*s ...\n";
inline constexpr char kUnsafeFileName[] = "ERROR : Unsafe File Name %.*s\n";
inline constexpr char kUnableToOpenEntry[] = "ERROR : Unable to Open Specified File %.*s\n";
inline constexpr char kMissingData[] = "ERROR : Missing Data for File %.*s\n";
inline constexpr char kEntryNotEnoughMemory[] = "ERROR : Not Enough Memory for File %.*s\n";
inline constexpr char kBadCompressedData[] = "ERROR : Bad Compressed Data for File %.*s\n";
inline constexpr char kUnableToWrite[] = "ERROR : Unable to Write File %.*s\n";
