// Loading a waveform file into the acquisition rings for review (Win32 only).
#pragma once

#include <windows.h>

#include <string>

// Reads a CSV file (sd false) or an SD-card file (sd true) into the three rings and sets the
// review base time from it. While it reads, the cursor waits, and after about a second the main
// window's title shows how far it got. Returns true when the whole file was read. Otherwise the
// operator is told why (a file error names the file; a CSV file without "DATA:" fails silently),
// and the rings, the review base time and the title stay as they were. Message boxes are owned
// by `owner`.
[[nodiscard]] bool ReadWaveFile(const std::string& path, bool sd, HWND owner);
