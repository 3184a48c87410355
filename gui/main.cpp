#include <QApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "base/command_line.h"
#include "device/access_diagnosis.h"
#include "device/hidapi_backend.h"
#include "gui/display_check.h"
#include "gui/memory_release.h"
#include "gui/program.h"

namespace {

// The options that print and end; they need no window. Returns -1 when none was given.
int answerWithoutWindow(const kvr::CommandLine& options) {
    if (options.help) {
        std::fputs(kvr::kUsageText, stdout);
        return 0;
    }
    if (options.version) {
        std::printf("kvr5507 %s\n", kvr::kProgramVersion);
        return 0;
    }
    if (options.diagnose) {
        kvr::HidapiBackend hid;
        const kvr::Diagnosis diagnosis = kvr::diagnose(hid);
        std::fputs(diagnosis.text.c_str(), stdout);
        if (diagnosis.usable) return 0;
        std::fprintf(stderr, "kvr5507: %s\n", diagnosis.problem.c_str());
        return 1;
    }
    return -1;
}

int badUsage(const std::string& error) {
    std::fprintf(stderr, "kvr5507: %s\nRun with --help for more information.\n", error.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    // Checked and answered before Qt starts, so they work without any display.
    const std::vector<std::string> rawArgs(argv + 1, argv + argc);
    const kvr::CommandLineResult early = kvr::parseCommandLine(kvr::withoutQtOptions(rawArgs));
    if (!early.options) return badUsage(early.error);
    if (const int code = answerWithoutWindow(*early.options); code >= 0) return code;
    kvr::DisplayCheck display = kvr::checkDisplay(rawArgs);
    if (display.problem) {
        std::fprintf(stderr, "kvr5507: %s\n", display.problem->c_str());
        return 1;
    }

    kvr::returnLargeBlocksWhenFreed();
    QApplication app(argc, argv);
    display.connection.reset();
    // Qt has taken its own options (-platform, -display); the rest are ours.
    std::vector<std::string> args;
    for (const QString& a : app.arguments().mid(1)) args.push_back(a.toStdString());
    kvr::CommandLineResult parsed = kvr::parseCommandLine(args);
    if (!parsed.options) return badUsage(parsed.error);
    if (const int code = answerWithoutWindow(*parsed.options); code >= 0) return code;
    return kvr::runProgram(app, *parsed.options);
}
