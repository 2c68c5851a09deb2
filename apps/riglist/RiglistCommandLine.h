#pragma once
// Riglist's command line: `riglist [FILE]` opens FILE in the window; `riglist --dump
// [--columns LIST] FILE` prints the list as text without a display; --help and --version.

#include <string>
#include <vector>

#include "formats/DefColumns.h"

namespace slipway {

struct RiglistOptions {
    enum class Mode { Window, Dump, Help, Version, Error };
    Mode mode = Mode::Window;
    std::string file;        // empty: open nothing at start
    ColumnSettings columns;  // for --dump
    std::string error;       // for Mode::Error
};

// Parses the arguments after the program name.
RiglistOptions parseRiglistArgs(const std::vector<std::string>& args);

std::string riglistUsage();
std::string riglistVersion();
// "riglist: ERROR", the usage lines and where to find more, for a wrong command line.
std::string riglistUsageError(const std::string& error);

// Runs --dump: the list text on `out`, or "riglist: cannot open FILE: CAUSE" on `err`; a file
// holding fewer records than it announces prints its records and "riglist: FILE announces N
// records, holds M" on `err`. Returns the exit code (0, or 1 when the file is refused).
int runRiglistDump(const RiglistOptions& options, std::string& out, std::string& err);

}  // namespace slipway
