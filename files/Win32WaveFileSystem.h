// The waveform writer's folders, files and clock on Windows.
#pragma once

#include "files/WaveFile.h"

namespace files {

class Win32WaveFileSystem : public WaveFileSystem {
public:
    FolderResult CreateFolder(const std::string& path) override;
    // Write access shared with readers only, so a viewer may read the file while it grows.
    std::unique_ptr<WaveFileHandle> OpenForAppend(const std::string& path) override;
    WaveClock LocalNow() override;
};

}  // namespace files
