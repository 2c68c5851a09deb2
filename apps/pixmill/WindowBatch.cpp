#include "pixmill/WindowBatch.h"

#include <algorithm>

#include "base/Paths.h"
#include "pixels/TfFile.h"

namespace slipway::pixmill {
namespace {

BatchEnd endFor(FileOutcome outcome) {
    if (outcome == FileOutcome::Interrupted)
        return BatchEnd::Interrupted;
    if (outcome == FileOutcome::Stopped)
        return BatchEnd::Stopped;
    return BatchEnd::Completed;
}

}  // namespace

void OverwriteAnswers::take(OverwriteChoice choice) {
    switch (choice) {
        case OverwriteChoice::Yes:
            overwrite = true;
            toAll = false;
            break;
        case OverwriteChoice::No:
            overwrite = false;
            toAll = false;
            break;
        case OverwriteChoice::YesToAll:
            overwrite = true;
            toAll = true;
            break;
        case OverwriteChoice::NoToAll:
            overwrite = false;
            toAll = true;
            break;
        case OverwriteChoice::Closed:
            overwrite = false;
            break;
    }
}

BatchEnd runConvertBatch(const std::vector<std::string>& files, const std::string& outputFolder,
                         const ConvertOptions& options, CommandContext& context,
                         BatchHooks& hooks) {
    OverwriteAnswers answers;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& path = files[i];
        hooks.fileStarted(i, files.size(), path);
        const std::string output = outputPathFor(outputFolder, path, "tf");
        if (fileExists(output)) {
            if (!answers.toAll)
                answers.take(hooks.askOverwrite(output));
            if (!answers.overwrite)
                continue;
        }
        const BatchEnd end = endFor(convertTgaToTf(path, output, options, context));
        if (end != BatchEnd::Completed)
            return end;
    }
    return BatchEnd::Completed;
}

ExportScan scanForExport(const std::vector<std::string>& files, UserPrompt& prompt) {
    ExportScan scan;
    for (const std::string& path : files) {
        TfFile tf(path);
        if (!tf.readInfo()) {
            tell(prompt, "Error get info from file " + path);
            continue;
        }
        scan.largestCount16 = std::max(scan.largestCount16, static_cast<int>(tf.count16));
        scan.largestCount8 = std::max(scan.largestCount8, static_cast<int>(tf.count8));
        scan.anyAlpha = scan.anyAlpha || tf.hasAlpha;
    }
    return scan;
}

BatchEnd runExportBatch(const std::vector<std::string>& files, const std::string& outputFolder,
                        const ExportOptions& options, CommandContext& context, BatchHooks& hooks) {
    ExportOptions asked = options;
    asked.askBeforeOverwrite = true;
    for (std::size_t i = 0; i < files.size(); ++i) {
        hooks.fileStarted(i, files.size(), files[i]);
        const std::string output = outputPathFor(outputFolder, files[i], "tga");
        const BatchEnd end = endFor(exportTfToTga(files[i], output, asked, context));
        if (end != BatchEnd::Completed)
            return end;
    }
    return BatchEnd::Completed;
}

}  // namespace slipway::pixmill
