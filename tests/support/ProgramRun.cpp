#include "ProgramRun.h"

#include <sys/wait.h>

#include <cstdlib>

#include "TestFiles.h"

namespace slipway::test {

ProgramRun runProgram(const std::string& command, const TempDir& dir) {
    const std::string out = dir.file(".program-stdout");
    const std::string err = dir.file(".program-stderr");
    const int status = std::system((command + " >" + out + " 2>" + err).c_str());
    ProgramRun run;
    run.code = status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = readText(out);
    run.err = readText(err);
    return run;
}

}  // namespace slipway::test
