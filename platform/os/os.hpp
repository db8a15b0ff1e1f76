// Operating-system services: directories, file names, the kernel's name.
// Data sets are often authored on Windows, so every file the program opens
// goes through ResolvePath, which accepts backslashes and forgives a wrong
// letter case when the exact name does not exist.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace kbh {

// The process's current directory, or an empty string if it cannot be read.
std::string CurrentDirectory();
// Makes path the current directory; false if it does not exist or cannot be
// entered.
bool ChangeDirectory(const std::string& path);

// Turns a program path ("/home/x\data\firstData.khb") into the name of a file
// that exists on disk: backslashes become slashes, and each component that is
// missing under its exact name is looked up case-insensitively in its folder.
// Components that match nothing are kept as written, so the result of a path
// to a file yet to be created is still the natural one.
std::string ResolvePath(const std::string& path);
// fopen of the resolved path.
FILE* OpenFile(const std::string& path, const char* mode);

// Reads a whole file (through ResolvePath). False if it cannot be opened or
// read, or is larger than maxBytes.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes,
                   size_t maxBytes = size_t{1} << 30);
// Writes bytes to a temporary file beside path and renames it over path, so a
// reader never sees half a file. False on any failure (nothing is left behind).
bool WriteWholeFile(const std::string& path, std::span<const uint8_t> bytes);

// The kernel's name and release as uname reports them ("Linux 6.1.0-18-amd64").
std::string KernelDescription();

}  // namespace kbh
