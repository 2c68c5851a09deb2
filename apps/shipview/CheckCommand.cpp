#include "shipview/CheckCommand.h"

#include <algorithm>
#include <filesystem>

#include "base/Clock.h"
#include "shipview/FileCheck.h"

namespace slipway {

namespace {

namespace fs = std::filesystem;

// A message on one line: the readers' texts put the file on a line of its own.
std::string oneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

// The model files in `folder` (and below it when `recursive`), sorted by path.
std::vector<std::string> modelFilesIn(const fs::path& folder, bool recursive,
                                      std::vector<std::string>& unreadable) {
    std::vector<std::string> files;
    const auto take = [&](const fs::directory_entry& entry) {
        std::error_code ec;
        if (entry.is_regular_file(ec) && modelFileKindOf(entry.path().string()))
            files.push_back(entry.path().string());
    };
    std::error_code ec;
    if (recursive) {
        fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied,
                                            ec);
        for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
            take(*it);
    } else {
        fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
        for (; !ec && it != fs::directory_iterator(); it.increment(ec))
            take(*it);
    }
    if (ec)
        unreadable.push_back(folder.string() + ": " + ec.message());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

int runCheck(const std::vector<std::string>& args, const std::string& baseDirectory,
             std::ostream& out, std::ostream& err) {
    bool recursive = false;
    std::vector<std::string> paths;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg == "--recursive") {
            recursive = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            err << "shipview: unknown option " << arg << "\n";
            return 2;
        } else {
            paths.push_back(arg);
        }
    }
    if (paths.empty()) {
        err << "shipview: --check needs at least one file or folder\n";
        return 2;
    }

    // Each path's problems that are not about a model file of its own.
    std::vector<std::string> problems;
    std::vector<std::string> files;
    for (const std::string& path : paths) {
        std::error_code ec;
        if (fs::is_directory(path, ec)) {
            const auto found = modelFilesIn(path, recursive, problems);
            files.insert(files.end(), found.begin(), found.end());
        } else if (!fs::exists(path, ec)) {
            problems.push_back(path + ": no such file or folder");
        } else if (!modelFileKindOf(path)) {
            problems.push_back(path + ": not a .clf, .cff or .def file");
        } else {
            files.push_back(path);
        }
    }

    SteadyClock clock;
    ViewerSession session(kShipviewRules, baseDirectory, clock);
    std::size_t withProblems = problems.size();
    for (const std::string& problem : problems)
        out << problem << "\n";
    for (const std::string& file : files) {
        const FileCheck check = checkFile(session, *modelFileKindOf(file), file);
        std::vector<std::string> messages = check.messages;
        if (!check.fileProblem.empty())
            messages.push_back(check.fileProblem);
        if (messages.empty() && session.scene().objectCount() == 0)
            messages.push_back("nothing could be read from it");
        for (const std::string& message : messages)
            out << file << ": " << oneLine(message) << "\n";
        withProblems += messages.empty() ? 0 : 1;
    }
    out << files.size() + problems.size() << " files, " << withProblems << " with problems\n";
    return withProblems == 0 ? 0 : 3;
}

}  // namespace slipway
