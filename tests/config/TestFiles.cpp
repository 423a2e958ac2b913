// Process id for the scratch folder names of the config tests.
#include "TestFiles.h"

#ifdef _WIN32
#include <process.h>
long config_test::ScratchDir::Pid() { return static_cast<long>(_getpid()); }
#else
#include <unistd.h>
long config_test::ScratchDir::Pid() { return static_cast<long>(getpid()); }
#endif
