#pragma once
// Runs one of the built programs as a user would, through the shell, and keeps what it
// printed: for the tests of command lines, help texts and exit codes.

#include <string>

#include "TempDir.h"

namespace slipway::test {

struct ProgramRun {
    int code = -1;  // the exit code; -1 when the program did not end normally
    std::string out;
    std::string err;
};

// Runs `command` (shell words: environment settings, the program, its arguments) with stdout
// and stderr captured in files inside `dir`.
ProgramRun runProgram(const std::string& command, const TempDir& dir);

}  // namespace slipway::test
