#include "pixmill/CommandLine.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <optional>
#include <thread>

#include "base/Paths.h"
#include "base/UserPrompt.h"
#include "pixels/ImageFiles.h"
#include "pixels/TextureCommands.h"
#include "pixmill/BatchRunner.h"
#include "pixmill/ProgressLine.h"
#include "pixmill/Thumbnail.h"

namespace slipway::pixmill {
namespace {

const char kProgramHelp[] =
    "Usage: pixmill convert [OPTIONS] FILE.tga...\n"
    "       pixmill export [OPTIONS] FILE.tf...\n"
    "       pixmill info FILE...\n"
    "       pixmill thumbnail IN.tf OUT.png SIZE\n"
    "       pixmill COMMAND --help\n"
    "       pixmill --help | --version\n"
    "\n"
    "Converts TGA pictures into TF textures, each with a 16-bit and an 8-bit (palettised)\n"
    "chain of mip levels, writes TF levels back as TGA pictures, and describes picture files,\n"
    "without a window. Every output is replaced atomically: a failed write leaves the old file\n"
    "as it was. Messages go to stderr as \"pixmill: TEXT\", with the cause after \": \".\n"
    "\n"
    "Commands:\n"
    "  convert      turn TGA pictures into TF textures\n"
    "  export       write one level of TF textures as TGA pictures\n"
    "  info         print the size, depth, alpha and level counts of picture files\n"
    "  thumbnail    write a PNG picture of a TF texture that fits a square\n"
    "\n"
    "Options:\n"
    "  -h, --help   show this text (after a command: that command's help)\n"
    "  --version    show the version\n"
    "\n"
    "Examples:\n"
    "  pixmill convert -o textures art/*.tga\n"
    "  pixmill export --chain 8 --depth 8 textures/sail.tf\n"
    "  pixmill convert --help\n"
    "\n"
    "Exit codes:\n"
    "  0  every file succeeded (or was skipped because its output exists)\n"
    "  1  a file failed\n"
    "  2  wrong command line\n";

const char kConvertHelp[] =
    "Usage: pixmill convert [OPTIONS] FILE.tga...\n"
    "\n"
    "Turns each TGA picture into a TF texture with a 16-bit chain of mip levels and an 8-bit\n"
    "chain on a palette made for the picture. The defaults are those of the conversion dialog:\n"
    "both chains, levels down to 16 pixels, 1-bit alpha, no line copying. A picture whose\n"
    "sides are not powers of two is resized, with a warning. Each output goes next to its\n"
    "source, or into -o DIR, named after it with the extension .tf; an existing output is\n"
    "skipped unless --overwrite yes. After the batch a line \"N converted, N skipped (exists),\n"
    "N failed\" goes to stderr; on a terminal a progress line shows the file and its step.\n"
    "\n"
    "Options:\n"
    "  --no16, --no8             leave out the 16-bit or the 8-bit chain\n"
    "  --mips16 count:N|minsize:N\n"
    "  --mips8 count:N|minsize:N the levels of a chain: N levels (1 to 16), or levels down to\n"
    "                            2^N pixels (0 to 15); default minsize:4\n"
    "  --alpha4                  4 bits of alpha in the 16-bit chain instead of 1\n"
    "  --attenuation POS         0 to 9: the smallest 16-bit level keeps (10 - POS) / 10 of\n"
    "                            its alpha; default 0\n"
    "  --vcopy 0|1|2             copy lines: none, up -> down, down -> up; default 0\n"
    "  --hcopy 0|1|2             copy columns: none, left -> right, right -> left; default 0\n"
    "  --overwrite yes|no        replace existing outputs; default no (they are skipped)\n"
    "  --jobs N                  convert N files at once; default the number of cores (the\n"
    "                            outputs and messages are the same whatever N)\n"
    "  -o DIR                    write the outputs into DIR, made with its parents if missing\n"
    "  -h, --help                show this text\n"
    "\n"
    "Examples:\n"
    "  pixmill convert -o textures art/*.tga\n"
    "  pixmill convert --alpha4 --no8 --overwrite yes sail.tga\n"
    "  pixmill convert --mips16 count:4 --mips8 minsize:5 -o out wood.tga\n"
    "\n"
    "Exit codes:\n"
    "  0  every file was converted or skipped\n"
    "  1  a file failed (the batch goes on; a write error ends it)\n"
    "  2  wrong command line\n";

const char kExportHelp[] =
    "Usage: pixmill export [OPTIONS] FILE.tf...\n"
    "\n"
    "Writes one level of each TF texture as an uncompressed TGA picture, by default level 0\n"
    "of the 16-bit chain (of the 8-bit chain when the file has only that) in 32 bits. A level\n"
    "beyond the chain's last is lowered to the last, with a warning. Each output goes next to\n"
    "its source, or into -o DIR, named after it with the extension .tga; an existing output\n"
    "is skipped unless --overwrite yes. After the batch a line \"N converted, N skipped\n"
    "(exists), N failed\" goes to stderr; on a terminal a progress line shows the file.\n"
    "\n"
    "Options:\n"
    "  --chain 16|8              the chain to read\n"
    "  --level N                 the level, 0 (full size) to 15; default 0\n"
    "  --depth 32|24|16|8        the picture's bits per pixel (16 is written as 1:5:5:5; 8\n"
    "                            has a palette); default 32\n"
    "  --overwrite yes|no        replace existing outputs; default no (they are skipped)\n"
    "  -o DIR                    write the outputs into DIR, made with its parents if missing\n"
    "  -h, --help                show this text\n"
    "\n"
    "Examples:\n"
    "  pixmill export -o back textures/*.tf\n"
    "  pixmill export --chain 8 --level 2 --depth 8 sail.tf\n"
    "\n"
    "Exit codes:\n"
    "  0  every file was written or skipped\n"
    "  1  a file failed (the batch goes on; a write error ends it)\n"
    "  2  wrong command line\n";

const char kInfoHelp[] =
    "Usage: pixmill info FILE...\n"
    "\n"
    "Reads each picture file (.tga, .tf) and prints a line \"FILE<tab>Size: WxH; BPP: N\",\n"
    "followed by \"; Alpha channel\", \"; 16 bit mips: N\" and \"; 8 bit mips: N\" where they\n"
    "apply. A file that cannot be read is reported on stderr and the others are still\n"
    "described.\n"
    "\n"
    "Options:\n"
    "  -h, --help   show this text\n"
    "\n"
    "Examples:\n"
    "  pixmill info textures/*.tf\n"
    "\n"
    "Exit codes:\n"
    "  0  every file was described\n"
    "  1  a file could not be read\n"
    "  2  wrong command line\n";

const char kThumbnailHelp[] =
    "Usage: pixmill thumbnail IN.tf OUT.png SIZE\n"
    "\n"
    "Writes a PNG picture of the TF texture IN that fits SIZE x SIZE pixels: the largest level\n"
    "of the 16-bit chain (of the 8-bit chain when the file has only that) that fits, or the\n"
    "smallest level scaled down to fit. File managers call it through the installed\n"
    "thumbnailer to show TF textures as pictures. OUT is replaced atomically.\n"
    "\n"
    "Options:\n"
    "  -h, --help   show this text\n"
    "\n"
    "Examples:\n"
    "  pixmill thumbnail textures/sail.tf sail.png 128\n"
    "\n"
    "Exit codes:\n"
    "  0  the picture was written\n"
    "  1  IN could not be read or OUT could not be written\n"
    "  2  wrong command line\n";

struct UsageError {
    std::string text;
};

// --help after a command.
struct HelpRequest {};

// The Usage: lines at the top of a help text.
std::string synopsis(const char* help) {
    const std::string text = help;
    return text.substr(0, text.find("\n\n") + 1);
}

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
    explicit CollectingPrompt(std::vector<std::string>& texts) : texts_(texts) {}
    PromptAnswer show(std::string_view text, PromptButtons buttons) override {
        add(std::string(text));
        return buttons == PromptButtons::YesNo ? PromptAnswer::Yes : PromptAnswer::Ok;
    }
    // One line each: the window's texts may hold line breaks.
    void add(std::string line) {
        std::replace(line.begin(), line.end(), '\n', ' ');
        texts_.push_back(std::move(line));
    }

  private:
    std::vector<std::string>& texts_;
};

bool isOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

bool isHelp(const std::string& arg) {
    return arg == "--help" || arg == "-h";
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
        } else if (isHelp(arg)) {
            throw HelpRequest{};
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

// Makes the -o folder with its parents when it is missing. False (with the message printed)
// when it cannot be made.
bool makeOutputFolder(const std::string& folder, std::ostream& err) {
    if (folder.empty() || directoryExists(folder))
        return true;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || !directoryExists(folder)) {
        // A file in the way leaves no error code on some systems.
        const std::string cause = error ? error.message() : std::string("a file has that name");
        err << "pixmill: cannot make the folder " << folder << ": " << cause << '\n';
        return false;
    }
    return true;
}

// One batch as the command line runs it: messages gathered per file and printed in file
// order, the progress line, and the counts for the summary.
class Batch {
  public:
    Batch(const BatchArguments& arguments, std::ostream& err, const Console& console)
        : arguments_(arguments), progress_(err, console.terminal, console.width) {}

    // The file at `index` with its output: skipped when the output exists and may not be
    // replaced, else `work` runs with a context that collects messages, warnings and steps.
    template <typename Work>
    FileReport run(std::size_t index, const std::string& output, Work&& work) {
        FileReport report;
        if (!arguments_.overwrite && fileExists(output)) {
            report.skipped = true;
            report.messages.push_back("File exists, skipped: " + output);
            return report;
        }
        CollectingPrompt prompt(report.messages);
        CommandContext context(prompt);
        const std::string name = fileName(arguments_.files[index]);
        const std::size_t count = arguments_.files.size();
        context.showStep = [&, index](const std::string& step) {
            progress_.show(index + 1, count, name, step);
        };
        context.warn = [&](const std::string& text) { prompt.add("warning: " + text); };
        context.explain = [&](const std::string& cause) { return explainCause(cause); };
        const FileOutcome outcome = work(context);
        report.succeeded = outcome == FileOutcome::Done;
        report.endsBatch = outcome == FileOutcome::Stopped;
        return report;
    }

    void print(const FileReport& report) {
        std::string lines;
        for (const std::string& line : report.messages)
            lines += "pixmill: " + line + '\n';
        progress_.print(lines);
        if (report.skipped) {
            ++skipped_;
        } else if (report.succeeded) {
            ++done_;
        } else {
            ++failed_;
        }
    }

    void progress(std::size_t index, const std::string& step) {
        progress_.show(index + 1, arguments_.files.size(), fileName(arguments_.files[index]), step);
    }

    // The summary line; returns the exit code.
    int finish() {
        std::string line = std::to_string(done_) + " converted, " + std::to_string(skipped_) +
                           " skipped (exists), " + std::to_string(failed_) + " failed";
        const std::size_t notStarted = arguments_.files.size() - done_ - skipped_ - failed_;
        if (notStarted > 0)
            line += ", " + std::to_string(notStarted) + " not started";
        progress_.print(line + '\n');
        return failed_ == 0 && notStarted == 0 ? kExitSuccess : kExitFailure;
    }

  private:
    static std::string explainCause(const std::string& cause) {
        if (cause == kNoChain16)
            return cause + "; use --chain 8";
        if (cause == kNoChain8)
            return cause + "; use --chain 16";
        return cause;
    }

    const BatchArguments& arguments_;
    ProgressLine progress_;
    std::size_t done_ = 0;
    std::size_t skipped_ = 0;
    std::size_t failed_ = 0;
};

int runConvert(Arguments& a, std::ostream& err, const Console& console) {
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
    if (!makeOutputFolder(batch.folder, err))
        return kExitFailure;

    const std::vector<std::string>& files = batch.files;
    std::vector<std::string> outputs;
    for (const std::string& f : files)
        outputs.push_back(outputPathFor(batch.folder, f, "tf"));
    Batch run(batch, err, console);
    runBatch(
        files.size(), outputs, jobs,
        [&](std::size_t i) {
            return run.run(i, outputs[i], [&](CommandContext& context) {
                run.progress(i, "Reading");
                return convertTgaToTf(files[i], outputs[i], options, context);
            });
        },
        [&](std::size_t, const FileReport& report) { run.print(report); });
    return run.finish();
}

int runExport(Arguments& a, std::ostream& err, const Console& console) {
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
    if (!makeOutputFolder(batch.folder, err))
        return kExitFailure;

    Batch run(batch, err, console);
    for (std::size_t i = 0; i < batch.files.size(); ++i) {
        const std::string& file = batch.files[i];
        const std::string output = outputPathFor(batch.folder, file, "tga");
        const FileReport report = run.run(i, output, [&](CommandContext& context) {
            run.progress(i, "Exporting");
            return exportTfToTga(file, output, options, context);
        });
        run.print(report);
        if (report.endsBatch)
            break;
    }
    return run.finish();
}

int runInfo(Arguments& a, std::ostream& out, std::ostream& err) {
    std::vector<std::string> files;
    std::string arg;
    bool optionsEnded = false;
    while (a.next(arg)) {
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && isHelp(arg)) {
            throw HelpRequest{};
        } else if (!optionsEnded && isOption(arg)) {
            throw UsageError{"unknown option " + arg};
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty())
        throw UsageError{"no files given"};
    bool allSucceeded = true;
    auto failed = [&](const std::string& text, const std::string& cause) {
        err << "pixmill: " << text;
        if (!cause.empty())
            err << ": " << cause;
        err << '\n';
        allSucceeded = false;
    };
    for (const std::string& path : files) {
        const std::unique_ptr<ImageFile> handler = openImageFile(path);
        if (!handler->readInfo()) {
            failed("Error access file: " + path, handler->failureCause);
            continue;
        }
        // A texture without 16-bit levels is checked through its 8-bit chain.
        if (handler->count16 == 0 && handler->count8 > 0)
            handler->use16 = false;
        if (!handler->loadPicture()) {
            failed("Error loading file: " + path, handler->failureCause);
            continue;
        }
        out << path << '\t' << describeImage(*handler) << '\n';
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

const char* usageText(const std::string& command) {
    if (command == "convert")
        return kConvertHelp;
    if (command == "export")
        return kExportHelp;
    if (command == "info")
        return kInfoHelp;
    if (command == "thumbnail")
        return kThumbnailHelp;
    return kProgramHelp;
}

int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               const Console& console) {
    std::string command;
    try {
        if (args.empty())
            throw UsageError{};
        Arguments a(args);
        a.next(command);
        if (isHelp(command)) {
            out << kProgramHelp;
            return kExitSuccess;
        }
        if (command == "convert")
            return runConvert(a, err, console);
        if (command == "export")
            return runExport(a, err, console);
        if (command == "info")
            return runInfo(a, out, err);
        if (command == "thumbnail")
            return runThumbnail(a, err);
        const std::string unknown = command;
        command.clear();
        throw UsageError{"unknown command " + unknown};
    } catch (const HelpRequest&) {
        out << usageText(command);
        return kExitSuccess;
    } catch (const UsageError& e) {
        if (!e.text.empty())
            err << "pixmill: " << e.text << '\n';
        const char* help = usageText(command);
        err << synopsis(help);
        err << "Try 'pixmill " << (help == kProgramHelp ? "" : command + " ") << "--help'.\n";
        return kExitUsage;
    }
}

}  // namespace slipway::pixmill
