#include "pixmill/CommandLine.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <thread>

#include "base/Paths.h"
#include "base/UserPrompt.h"
#include "pixels/ImageFiles.h"
#include "pixels/TextureCommands.h"
#include "pixmill/BatchRunner.h"

namespace slipway::pixmill {
namespace {

const char kUsage[] =
    "usage: pixmill convert [--no16] [--no8] [--mips16 count:N|minsize:N] [--mips8 "
    "count:N|minsize:N]\n"
    "                       [--alpha4] [--attenuation POS] [--vcopy 0|1|2] [--hcopy 0|1|2]\n"
    "                       [--overwrite yes|no] [--jobs N] [-o DIR] FILE.tga...\n"
    "       pixmill export  [--chain 16|8] [--level N] [--depth 32|24|16|8] [--overwrite yes|no]\n"
    "                       [-o DIR] FILE.tf...\n"
    "       pixmill info    FILE...\n";

struct UsageError {
    std::string text;
};

std::optional<int> parseInt(const std::string& text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc{} || ptr != end || value < low || value > high)
        return std::nullopt;
    return value;
}

// Walks the arguments: options first or mixed with files; "--" ends the options.
class Arguments {
  public:
    explicit Arguments(const std::vector<std::string>& args) : args_(args) {}
    bool next(std::string& arg) {
        if (at_ >= args_.size())
            return false;
        arg = args_[at_++];
        return true;
    }
    std::string value(const std::string& option) {
        if (at_ >= args_.size())
            throw UsageError{option + " needs a value"};
        return args_[at_++];
    }
    int number(const std::string& option, int low, int high) {
        const std::string text = value(option);
        const auto n = parseInt(text, low, high);
        if (!n)
            throw UsageError{"bad value for " + option + ": " + text};
        return *n;
    }
    bool yesNo(const std::string& option) {
        const std::string text = value(option);
        if (text == "yes")
            return true;
        if (text == "no")
            return false;
        throw UsageError{"bad value for " + option + ": " + text};
    }

  private:
    const std::vector<std::string>& args_;
    std::size_t at_ = 0;
};

// Sets the count mode and slider; whether the chain is written is --no16/--no8's business.
void parseMips(Arguments& a, const std::string& option, MipChainSettings& s) {
    const std::string text = a.value(option);
    std::optional<int> n;
    if (text.rfind("count:", 0) == 0) {
        s.mode = MipCountMode::NumberMips;
        n = parseInt(text.substr(6), 1, 16);
    } else if (text.rfind("minsize:", 0) == 0) {
        s.mode = MipCountMode::MinimumSize;
        n = parseInt(text.substr(8), 0, 15);
    }
    if (!n)
        throw UsageError{"bad value for " + option + ": " + text};
    s.slider = *n;
}

// Collects the messages of one file; answers every question with Yes (no questions are
// asked: overwriting is decided before the file is started).
class CollectingPrompt : public UserPrompt {
  public:
    PromptAnswer show(std::string_view text, PromptButtons buttons) override {
        std::string line(text);
        std::replace(line.begin(), line.end(), '\n', ' ');
        texts.push_back(std::move(line));
        return buttons == PromptButtons::YesNo ? PromptAnswer::Yes : PromptAnswer::Ok;
    }
    std::vector<std::string> texts;
};

bool isOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

// What convert and export have in common on their command lines: the files, "--" ending the
// options, where the outputs go and whether existing ones are replaced.
struct BatchArguments {
    std::vector<std::string> files;
    std::string folder;  // -o; empty: next to each source
    bool overwrite = false;
};

// Walks the rest of the arguments into `batch`, handing every other option to
// `commandOption(arg)`, which returns false for one it does not know.
template <typename CommandOption>
BatchArguments parseBatch(Arguments& a, CommandOption&& commandOption) {
    BatchArguments batch;
    std::string arg;
    bool optionsEnded = false;
    while (a.next(arg)) {
        if (optionsEnded || !isOption(arg)) {
            batch.files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--overwrite") {
            batch.overwrite = a.yesNo(arg);
        } else if (arg == "-o") {
            batch.folder = a.value(arg);
        } else if (!commandOption(arg)) {
            throw UsageError{"unknown option " + arg};
        }
    }
    if (batch.files.empty())
        throw UsageError{"no files given"};
    return batch;
}

// One file of a batch: skipped when its output exists and may not be replaced, else `work`
// runs with a prompt that collects its messages.
template <typename Work>
FileReport runFile(const std::string& output, bool overwrite, Work&& work) {
    FileReport report;
    if (!overwrite && fileExists(output)) {
        report.messages.push_back("File exists, skipped: " + output);
        return report;
    }
    CollectingPrompt prompt;
    CommandContext context(prompt);
    const FileOutcome outcome = work(context);
    report.succeeded = outcome == FileOutcome::Done;
    report.endsBatch = outcome == FileOutcome::Stopped;
    report.messages = std::move(prompt.texts);
    return report;
}

void printReport(std::ostream& err, const FileReport& report) {
    for (const std::string& line : report.messages)
        err << line << '\n';
    err.flush();
}

int runConvert(Arguments& a, std::ostream& err) {
    ConvertOptions options;
    unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
    const BatchArguments batch = parseBatch(a, [&](const std::string& arg) {
        if (arg == "--no16") {
            options.chain16.enabled = false;
        } else if (arg == "--no8") {
            options.chain8.enabled = false;
        } else if (arg == "--mips16") {
            parseMips(a, arg, options.chain16);
        } else if (arg == "--mips8") {
            parseMips(a, arg, options.chain8);
        } else if (arg == "--alpha4") {
            options.fourBitAlpha = true;
        } else if (arg == "--attenuation") {
            options.attenuationPosition = a.number(arg, 0, 9);
        } else if (arg == "--vcopy") {
            options.verticalCopy = a.number(arg, 0, 2);
        } else if (arg == "--hcopy") {
            options.horizontalCopy = a.number(arg, 0, 2);
        } else if (arg == "--jobs") {
            jobs = static_cast<unsigned>(a.number(arg, 1, 1024));
        } else {
            return false;
        }
        return true;
    });
    if (!options.chain16.enabled && !options.chain8.enabled) {
        throw UsageError{"--no16 and --no8 leave nothing to write"};
    }

    const std::vector<std::string>& files = batch.files;
    std::vector<std::string> outputs;
    for (const std::string& f : files)
        outputs.push_back(outputPathFor(batch.folder, f, "tf"));
    bool allSucceeded = true;
    runBatch(
        files.size(), outputs, jobs,
        [&](std::size_t i) {
            return runFile(outputs[i], batch.overwrite, [&](CommandContext& context) {
                return convertTgaToTf(files[i], outputs[i], options, context);
            });
        },
        [&](std::size_t, const FileReport& report) {
            allSucceeded = allSucceeded && report.succeeded;
            printReport(err, report);
        });
    return allSucceeded ? kExitSuccess : kExitFailure;
}

int runExport(Arguments& a, std::ostream& err) {
    ExportOptions options;
    const BatchArguments batch = parseBatch(a, [&](const std::string& arg) {
        if (arg == "--chain") {
            const int chain = a.number(arg, 8, 16);
            if (chain != 8 && chain != 16)
                throw UsageError{"bad value for --chain"};
            options.sourceChain = chain;
        } else if (arg == "--level") {
            options.level = a.number(arg, 0, 15);
        } else if (arg == "--depth") {
            const int depth = a.number(arg, 8, 32);
            if (depth != 8 && depth != 16 && depth != 24 && depth != 32) {
                throw UsageError{"bad value for --depth"};
            }
            options.depth = depth;
        } else {
            return false;
        }
        return true;
    });
    options.askBeforeOverwrite = false;

    bool allSucceeded = true;
    for (const std::string& file : batch.files) {
        const std::string output = outputPathFor(batch.folder, file, "tga");
        const FileReport report = runFile(output, batch.overwrite, [&](CommandContext& context) {
            return exportTfToTga(file, output, options, context);
        });
        allSucceeded = allSucceeded && report.succeeded;
        printReport(err, report);
        if (report.endsBatch)
            break;
    }
    return allSucceeded ? kExitSuccess : kExitFailure;
}

int runInfo(Arguments& a, std::ostream& out, std::ostream& err) {
    std::vector<std::string> files;
    std::string arg;
    while (a.next(arg))
        files.push_back(arg);
    if (files.empty())
        throw UsageError{"no files given"};
    bool allSucceeded = true;
    for (const std::string& path : files) {
        const std::unique_ptr<ImageFile> handler = openImageFile(path);
        if (!handler->readInfo()) {
            err << "Error access file: " << path << '\n';
            allSucceeded = false;
            continue;
        }
        // A texture without 16-bit levels is checked through its 8-bit chain.
        if (handler->count16 == 0 && handler->count8 > 0)
            handler->use16 = false;
        if (!handler->loadPicture()) {
            err << "Error loading file: " << path << '\n';
            allSucceeded = false;
            continue;
        }
        out << path << '\t' << describeImage(*handler) << '\n';
    }
    return allSucceeded ? kExitSuccess : kExitFailure;
}

}  // namespace

const char* usageText() {
    return kUsage;
}

int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        if (args.empty())
            throw UsageError{};
        Arguments a(args);
        std::string command;
        a.next(command);
        if (command == "--help" || command == "-h") {
            out << kUsage;
            return kExitSuccess;
        }
        if (command == "convert")
            return runConvert(a, err);
        if (command == "export")
            return runExport(a, err);
        if (command == "info")
            return runInfo(a, out, err);
        throw UsageError{"unknown command " + command};
    } catch (const UsageError& e) {
        if (!e.text.empty())
            err << "pixmill: " << e.text << '\n';
        err << kUsage;
        return kExitUsage;
    }
}

}  // namespace slipway::pixmill
