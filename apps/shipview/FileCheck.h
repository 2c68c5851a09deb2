#pragma once
// Opening a file the way a viewer does, for the command-line modes that report on it: every
// message the readers give is collected instead of shown, and a DEF file that the viewers read
// silently as an empty or short ship gets a message saying what is wrong with it. Dialog.ini's
// recent list is left as it is.

#include <string>
#include <vector>

#include "engine/ViewerSession.h"

namespace slipway {

struct FileCheck {
    OpenResult opened;
    std::vector<std::string> messages;  // as the readers gave them
    std::string fileProblem;            // what is wrong with a DEF file as a whole, if anything

    // Every message, the file problem last as "PATH: problem".
    std::vector<std::string> allMessages(const std::string& path) const;
};

// OK/Cancel and Yes/No questions are answered OK and Yes, or Cancel and No with `decline`.
FileCheck checkFile(ViewerSession& session, ModelFileKind kind, const std::string& path,
                    bool decline = false);

// The exit code of a command that read one file: 0 when it loaded without a message, 3 when it
// loaded but messages were given, 1 when nothing was loaded.
int checkExitCode(const FileCheck& check, const Scene& scene);

}  // namespace slipway
