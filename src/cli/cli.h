#pragma once
// Batch front end: the open and save commands without a window.

#include <iosfwd>
#include <string>
#include <vector>

namespace tesk {

// Runs one command line (without the program name); returns the exit status:
// 0 done, 1 a command failed, 2 a usage error.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tesk
