// The waveform writer's folders, files and clock on Windows.
#pragma once

#include <set>
#include <string>

#include "files/WaveFile.h"

namespace files {

class Win32WaveFileSystem : public WaveFileSystem {
public:
    FolderResult CreateFolder(const std::string& path) override;
    // Write access shared with readers only, so a viewer may read the file while it grows.
    std::unique_ptr<WaveFileHandle> OpenForAppend(const std::string& path) override;
    NewFile OpenNew(const std::string& path) override;
    WaveClock LocalNow() override;

private:
    // Paths of the files this object's handles hold open (user-interface thread only): a file one
    // recording holds refuses the other's open like any other program's would, but is taken, not
    // unopenable.
    std::set<std::string> held_;
};

}  // namespace files
