// uiauto's list-view commands.
#pragma once

#include <string>

// Runs a list-view command; -1 when `command` is not one of them.
int ListViewCommand(const std::string& command, int argc, char** argv);
