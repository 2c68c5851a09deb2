#include "pixmill/CommandLine.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <thread>

#include "base/Format.h"
#include "base/Paths.h"
#include "base/UserPrompt.h"
#include "pixels/BmpFile.h"
#include "pixels/TextureCommands.h"
#include "pixels/TfFile.h"
#include "pixels/TgaFile.h"
#include "pixmill/BatchRunner.h"
#include "pixmill/Thumbnail.h"

namespace slipway::pixmill {
namespace {

const char kUsage[] =
    "usage: pixmill convert [--no16] [--no8] [--mips16 count:N|minsize:N] [--mips8 "
    "count:N|minsize:N]\n"
    "                       [--alpha4] [--attenuation POS] [--vcopy 0|1|2] [--hcopy 0|1|2]\n"
    "                       [--overwrite yes|no] [--jobs N] [-o DIR] FILE.tga...\n"
    "       pixmill export  [--chain 16|8] [--level N] [--depth 32|24|16|8] [--overwrite yes|no]\n"
    "                       [-o DIR] FILE.tf...\n"
    "       pixmill info    FILE...\n"
    "       pixmill thumbnail IN.tf OUT.png SIZE\n";

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

std::string skippedText(const std::string& output) {
    return "File exists, skipped: " + output;
}

void printReport(std::ostream& err, const FileReport& report) {
    for (const std::string& line : report.messages)
        err << line << '\n';
    err.flush();
}

int runConvert(Arguments& a, std::ostream& err) {
    ConvertOptions options;
    bool overwrite = false;
    unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
    std::string folder;
    std::vector<std::string> files;
    std::string arg;
    bool optionsEnded = false;
    while (a.next(arg)) {
        if (optionsEnded || !isOption(arg)) {
            files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--no16") {
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
        } else if (arg == "--overwrite") {
            overwrite = a.yesNo(arg);
        } else if (arg == "--jobs") {
            jobs = static_cast<unsigned>(a.number(arg, 1, 1024));
        } else if (arg == "-o") {
            folder = a.value(arg);
        } else {
            throw UsageError{"unknown option " + arg};
        }
    }
    if (files.empty())
        throw UsageError{"no files given"};
    if (!options.chain16.enabled && !options.chain8.enabled) {
        throw UsageError{"--no16 and --no8 leave nothing to write"};
    }

    std::vector<std::string> outputs;
    for (const std::string& f : files)
        outputs.push_back(outputPathFor(folder, f, "tf"));
    bool allSucceeded = true;
    runBatch(
        files.size(), outputs, jobs,
        [&](std::size_t i) {
            FileReport report;
            if (!overwrite && fileExists(outputs[i])) {
                report.messages.push_back(skippedText(outputs[i]));
                return report;
            }
            CollectingPrompt prompt;
            CommandContext context(prompt);
            const FileOutcome outcome = convertTgaToTf(files[i], outputs[i], options, context);
            report.succeeded = outcome == FileOutcome::Done;
            report.endsBatch = outcome == FileOutcome::Stopped;
            report.messages = std::move(prompt.texts);
            return report;
        },
        [&](std::size_t, const FileReport& report) {
            allSucceeded = allSucceeded && report.succeeded;
            printReport(err, report);
        });
    return allSucceeded ? kExitSuccess : kExitFailure;
}

int runExport(Arguments& a, std::ostream& err) {
    ExportOptions options;
    bool overwrite = false;
    std::string folder;
    std::vector<std::string> files;
    std::string arg;
    bool optionsEnded = false;
    while (a.next(arg)) {
        if (optionsEnded || !isOption(arg)) {
            files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--chain") {
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
        } else if (arg == "--overwrite") {
            overwrite = a.yesNo(arg);
        } else if (arg == "-o") {
            folder = a.value(arg);
        } else {
            throw UsageError{"unknown option " + arg};
        }
    }
    if (files.empty())
        throw UsageError{"no files given"};
    options.askBeforeOverwrite = false;

    bool allSucceeded = true;
    for (const std::string& file : files) {
        FileReport report;
        const std::string output = outputPathFor(folder, file, "tga");
        if (!overwrite && fileExists(output)) {
            report.messages.push_back(skippedText(output));
        } else {
            CollectingPrompt prompt;
            CommandContext context(prompt);
            const FileOutcome outcome = exportTfToTga(file, output, options, context);
            report.succeeded = outcome == FileOutcome::Done;
            report.endsBatch = outcome == FileOutcome::Stopped;
            report.messages = std::move(prompt.texts);
        }
        allSucceeded = allSucceeded && report.succeeded;
        printReport(err, report);
        if (report.endsBatch)
            break;
    }
    return allSucceeded ? kExitSuccess : kExitFailure;
}

// The viewer's description of a file: "Size: %dx%d; BPP: %d" and what applies of alpha and
// chain lengths.
std::string describe(const ImageFile& file) {
    std::string text =
        formatText("Size: %ux%u; BPP: %u", file.width, file.height, file.bitsPerPixel);
    if (file.hasAlpha)
        text += "; Alpha channel";
    if (file.count16 > 0)
        text += formatText("; 16 bit mips: %u", file.count16);
    if (file.count8 > 0)
        text += formatText("; 8 bit mips: %u", file.count8);
    return text;
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
        const std::string ext = splitPath(path).extension;
        std::unique_ptr<ImageFile> handler;
        if (equalsIgnoringCase(ext, ".tf")) {
            handler = std::make_unique<TfFile>(path);
        } else if (equalsIgnoringCase(ext, ".bmp")) {
            handler = std::make_unique<BmpFile>(path);
        } else {
            handler = std::make_unique<TgaFile>(path);
        }
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
        out << path << '\t' << describe(*handler) << '\n';
    }
    return allSucceeded ? kExitSuccess : kExitFailure;
}

// IN OUT SIZE: a PNG of the texture IN that fits SIZE x SIZE pixels.
int runThumbnail(Arguments& a, std::ostream& err) {
    std::vector<std::string> operands;
    std::string arg;
    while (a.next(arg))
        operands.push_back(arg);
    if (operands.size() != 3)
        throw UsageError{"thumbnail needs IN, OUT and SIZE"};
    const auto size = parseInt(operands[2], 1, static_cast<int>(kMaxPictureSide));
    if (!size)
        throw UsageError{"bad value for SIZE: " + operands[2]};
    return writeThumbnail(operands[0], operands[1], static_cast<std::uint32_t>(*size), err)
               ? kExitSuccess
               : kExitFailure;
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
        if (command == "thumbnail")
            return runThumbnail(a, err);
        throw UsageError{"unknown command " + command};
    } catch (const UsageError& e) {
        if (!e.text.empty())
            err << "pixmill: " << e.text << '\n';
        err << kUsage;
        return kExitUsage;
    }
}

}  // namespace slipway::pixmill
