// Loading a waveform file into the acquisition rings for review (Win32 only).
#pragma once

#include <windows.h>

#include <string>

// app::ReviewWaveFile (app/WaveReview.h) on the Win32 shell; message boxes are owned by `owner`.
bool ReviewWaveFile(const std::string& path, bool sd, HWND owner);
