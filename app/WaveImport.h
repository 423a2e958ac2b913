// Loading a waveform file into the acquisition rings for review (Win32 only).
#pragma once

#include <windows.h>

#include <string>

// Reads a CSV file (sd false) or an SD-card file (sd true) into the three rings and sets the
// review base time from it. While it reads, the cursor waits, and after about a second the main
// window's title shows how far it got. Returns true when the whole file was read. Otherwise the
// operator is told why (a file error names the file; a CSV file without "DATA:" fails silently),
// and the rings, the review base time and the title stay as they were. One exception: when the
// new samples do not fit beside those of a previously loaded file, that file's samples are given
// up for one more try; if the import still fails, the rings are empty, the title is the
// program's own and the review shows nothing. Message boxes are owned by `owner`.
[[nodiscard]] bool ReadWaveFile(const std::string& path, bool sd, HWND owner);
// The import after its file was chosen: reads the file as ReadWaveFile does, then shows its path in
// the main window's title and starts the review display. Nothing happens while a measurement runs.
// True when the file was loaded.
bool ReviewWaveFile(const std::string& path, bool sd, HWND owner);
