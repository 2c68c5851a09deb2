#include "riglist/RiglistCommandLine.h"

#include "base/FileIo.h"
#include "formats/DefFile.h"
#include "formats/DefRecordReader.h"
#include "riglist/DefDump.h"

namespace slipway {

namespace {

// "Class,Type,Link" into switches; an empty text switches everything off but "Num".
bool parseColumnList(const std::string& list, ColumnSettings& settings, std::string& error) {
    settings.shown.fill(false);
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string name = list.substr(start, comma - start);
        if (!name.empty()) {
            const auto field = defFieldFromName(name);
            if (!field) {
                error = "unknown column '" + name +
                        "' (choose from Class,Type,File,X,Y,Z,Ax,Ay,Az,Link)";
                return false;
            }
            settings[*field] = true;
        }
        start = comma + 1;
    }
    return true;
}

RiglistOptions failure(std::string text) {
    RiglistOptions options;
    options.mode = RiglistOptions::Mode::Error;
    options.error = std::move(text);
    return options;
}

}  // namespace

RiglistOptions parseRiglistArgs(const std::vector<std::string>& args) {
    RiglistOptions options;
    bool dump = false;
    bool columnsGiven = false;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            options.mode = RiglistOptions::Mode::Help;
            return options;
        }
        if (a == "--version") {
            options.mode = RiglistOptions::Mode::Version;
            return options;
        }
        if (a == "--dump") {
            dump = true;
        } else if (a == "--columns" || a.rfind("--columns=", 0) == 0) {
            std::string list;
            if (a == "--columns") {
                if (i + 1 >= args.size())
                    return failure("--columns needs a list of columns");
                list = args[++i];
            } else {
                list = a.substr(10);
            }
            std::string error;
            if (!parseColumnList(list, options.columns, error))
                return failure(error);
            columnsGiven = true;
        } else if (a == "--") {
            files.insert(files.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                         args.end());
            break;
        } else if (a.size() > 1 && a[0] == '-') {
            return failure("unknown option '" + a + "'");
        } else {
            files.push_back(a);
        }
    }
    if (files.size() > 1)
        return failure("only one file can be given");
    if (!files.empty())
        options.file = files[0];
    if (dump) {
        if (options.file.empty())
            return failure("--dump needs a DEF file");
        options.mode = RiglistOptions::Mode::Dump;
    } else if (columnsGiven) {
        return failure("--columns is used with --dump");
    }
    return options;
}

std::string riglistUsage() {
    return "Usage: riglist [FILE]\n"
           "       riglist --dump [--columns LIST] FILE\n"
           "       riglist --help | --version\n"
           "\n"
           "Edits DEF ship descriptions record by record: one row per record, values checked\n"
           "against what each field may hold, with a help text for the field being edited.\n"
           "Files of up to 200 records are opened, with room for five more; saving replaces the\n"
           "file atomically. --dump prints the list as text without a display, for scripts and\n"
           "for git diff.\n"
           "\n"
           "Options:\n"
           "  FILE             the DEF file to open at start\n"
           "  --dump           print the records as the list shows them, tab-separated,\n"
           "                   without opening a window; a file holding fewer records than it\n"
           "                   announces is said on stderr, and its records are printed\n"
           "  --columns LIST   the columns to print besides Num, comma-separated, from\n"
           "                   Class,Type,File,X,Y,Z,Ax,Ay,Az,Link (default Class,Type,Link)\n"
           "  -h, --help       show this text\n"
           "  --version        show the version\n"
           "\n"
           "Examples:\n"
           "  riglist ships/Demo.def\n"
           "  riglist --dump --columns Class,Type,File,X,Y,Z ships/Demo.def\n"
           "\n"
           "Exit codes:\n"
           "  0  done (the window was closed, or the records were printed)\n"
           "  1  the file cannot be opened, or no display for the window\n"
           "  2  wrong command line\n";
}

std::string riglistUsageError(const std::string& error) {
    const std::string usage = riglistUsage();
    return "riglist: " + error + "\n" + usage.substr(0, usage.find("\n\n") + 1) +
           "Try 'riglist --help'.\n";
}

std::string riglistVersion() {
    return std::string("riglist ") + SLIPWAY_VERSION + "\n";
}

int runRiglistDump(const RiglistOptions& options, std::string& out, std::string& err) {
    const std::string& path = options.file;
    // Nothing past the largest file the editor opens is ever looked at.
    const auto bytes = readFileHead(path, 4 + std::size_t{kDefMaxOpenRecords} * kDefRecordSize);
    if (!bytes) {
        const std::string cause = unreadableFileCause(path);
        err = "riglist: cannot open " + path + ": " + (cause.empty() ? "read error" : cause) + "\n";
        return 1;
    }
    const auto document = parseDefDocument(*bytes);
    const DefRecordReader reader(*bytes);
    if (!document) {
        std::string cause = "not a DEF file (" + std::to_string(bytes->size()) + " bytes)";
        if (reader.hasCount() && reader.announcedCount() > kDefMaxOpenRecords) {
            cause = "announces " + std::to_string(reader.announcedCount()) +
                    " records; the editor opens at most " + std::to_string(kDefMaxOpenRecords);
        }
        err = "riglist: cannot open " + path + ": " + cause + "\n";
        return 1;
    }
    if (static_cast<std::size_t>(reader.announcedCount()) > reader.recordsPresent()) {
        err = "riglist: " + path + " announces " + std::to_string(reader.announcedCount()) +
              " records, holds " + std::to_string(reader.recordsPresent()) + "\n";
    }
    out = dumpDefDocument(*document, options.columns);
    return 0;
}

}  // namespace slipway
