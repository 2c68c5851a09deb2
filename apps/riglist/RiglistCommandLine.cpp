#include "riglist/RiglistCommandLine.h"

#include "formats/DefFile.h"
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
           "\n"
           "Edits DEF ship descriptions record by record.\n"
           "\n"
           "  FILE             the DEF file to open at start\n"
           "  --dump           print the records as the list shows them, tab-separated,\n"
           "                   without opening a window\n"
           "  --columns LIST   the columns to print besides Num, comma-separated, from\n"
           "                   Class,Type,File,X,Y,Z,Ax,Ay,Az,Link (default Class,Type,Link)\n"
           "  --help           show this text\n"
           "  --version        show the version\n";
}

std::string riglistVersion() {
    return std::string("riglist ") + SLIPWAY_VERSION + "\n";
}

int runRiglistDump(const RiglistOptions& options, std::string& out, std::string& err) {
    const auto document = readDefFile(options.file);
    if (!document) {
        err = "Riglist: cannot open " + options.file + "\n";
        return 1;
    }
    out = dumpDefDocument(*document, options.columns);
    return 0;
}

}  // namespace slipway
