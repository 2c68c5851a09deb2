#pragma once
// The window's two batch commands over the files selected in a pane: every TGA picture into a
// TF texture in the target pane's folder (asking before an existing texture is replaced), and
// one level of every TF texture back into a TGA picture in the source pane's folder. The
// per-file work is the same library call as the command line's, so the files written are the
// same byte for byte. The batches run on a worker thread: everything they ask or show goes
// through the context's prompt and the hooks, which the window answers on its own thread.

#include <cstddef>
#include <string>
#include <vector>

#include "base/UserPrompt.h"
#include "pixels/TextureCommands.h"

namespace slipway::pixmill {

// The buttons of the dialog "Overwrite file", and closing it without one.
enum class OverwriteChoice { Yes, No, YesToAll, NoToAll, Closed };

// The two answers an "Overwrite file" dialog remembers over one batch.
struct OverwriteAnswers {
    bool overwrite = false;
    bool toAll = false;

    // Yes and No answer for this file; the "to All" buttons for every later file too.
    // Closing the dialog without a button keeps this file: only a button replaces a file.
    void take(OverwriteChoice choice);
};

// What a batch asks of the window besides messages.
class BatchHooks {
  public:
    virtual ~BatchHooks() = default;
    // The dialog "Overwrite file" for `outputPath`.
    virtual OverwriteChoice askOverwrite(const std::string& outputPath) = 0;
    // File `index` (from 0) of `count` is started.
    virtual void fileStarted(std::size_t index, std::size_t count, const std::string& path) = 0;
};

enum class BatchEnd {
    Completed,    // every file was tried
    Interrupted,  // the user ended it at an interruption check
    Stopped,      // a write error ended it
};

// Converts `files` in order into `outputFolder`. An existing output is replaced only when the
// overwrite dialog says so (once per file, or once for all the later files).
BatchEnd runConvertBatch(const std::vector<std::string>& files, const std::string& outputFolder,
                         const ConvertOptions& options, CommandContext& context, BatchHooks& hooks);

// What the export dialog opens with: the largest level counts and whether any file has alpha,
// over the files whose headers could be read ("Error get info from file " + path for others).
struct ExportScan {
    int largestCount16 = 0;
    int largestCount8 = 0;
    bool anyAlpha = false;
};
ExportScan scanForExport(const std::vector<std::string>& files, UserPrompt& prompt);

// Exports `files` in order into `outputFolder` with the options of the dialog (the chain is 16
// or 8 for every file); "Overwrite file " + path is asked before a picture is replaced.
BatchEnd runExportBatch(const std::vector<std::string>& files, const std::string& outputFolder,
                        const ExportOptions& options, CommandContext& context, BatchHooks& hooks);

}  // namespace slipway::pixmill
