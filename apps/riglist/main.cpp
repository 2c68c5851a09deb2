// Riglist: edits DEF ship descriptions record by record.

#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "qtshell/DisplayCheck.h"
#include "qtshell/ProgramIcon.h"
#include "qtshell/QtPrompt.h"
#include "riglist/DEFDlg.h"
#include "riglist/RiglistCommandLine.h"

using namespace slipway;

namespace {

void print(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
}

// Handles everything that needs no display. Returns -1 when the window is wanted.
int runHeadless(const RiglistOptions& options) {
    switch (options.mode) {
        case RiglistOptions::Mode::Help:
            print(stdout, riglistUsage());
            return 0;
        case RiglistOptions::Mode::Version:
            print(stdout, riglistVersion());
            return 0;
        case RiglistOptions::Mode::Error:
            print(stderr, riglistUsageError(options.error));
            return 2;
        case RiglistOptions::Mode::Dump: {
            std::string out, err;
            const int code = runRiglistDump(options, out, err);
            print(stdout, out);
            print(stderr, err);
            return code;
        }
        case RiglistOptions::Mode::Window:
            break;
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    // The headless modes are decided before Qt sees the arguments, so they need no display.
    const std::vector<std::string> raw(argv + 1, argv + argc);
    const RiglistOptions first = parseRiglistArgs(raw);
    // Qt's own options start with a single dash; any other error is ours to report.
    bool mayBeQtOption = false;
    bool dump = false;
    for (const std::string& a : raw) {
        mayBeQtOption |= a.size() > 1 && a[0] == '-' && a[1] != '-';
        dump |= a == "--dump";
    }
    if (first.mode != RiglistOptions::Mode::Window &&
        (first.mode != RiglistOptions::Mode::Error || dump || !mayBeQtOption)) {
        return runHeadless(first);
    }

    const auto app = openDisplay<QApplication>("riglist", argc, argv);
    if (!app)
        return kExitNoDisplay;
    QApplication::setWindowIcon(programIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("slipway-riglist"));
    // Qt has taken its own options (-platform and the like) out of the arguments by now.
    std::vector<std::string> args;
    const QStringList qtArgs = QCoreApplication::arguments();
    for (qsizetype i = 1; i < qtArgs.size(); ++i)
        args.push_back(qtArgs[i].toLocal8Bit().toStdString());
    const RiglistOptions options = parseRiglistArgs(args);
    if (options.mode != RiglistOptions::Mode::Window)
        return runHeadless(options);

    QtPrompt prompt("Riglist");
    DEFDlg dialog(prompt);
    prompt.setOwner(&dialog);
    if (!options.file.empty() && !dialog.openFile(QString::fromLocal8Bit(options.file))) {
        print(stderr, "riglist: cannot open " + options.file + "\n");
    }
    dialog.exec();
    return 0;
}
