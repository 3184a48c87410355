#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "base/command_line.h"
#include "app/dialogs.h"
#include "app/event_loop_pacer.h"
#include "app/instance_finder.h"
#include "app/main_window.h"
#include "app/program.h"
#include "device/access_diagnosis.h"
#include "device/hidapi_backend.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::vector<std::string> args;
    for (const QString& a : app.arguments().mid(1)) args.push_back(a.toStdString());
    kvr::CommandLineResult parsed = kvr::parseCommandLine(args);
    if (!parsed.options) {
        std::fprintf(stderr, "kvr5507: %s\n\n%s", parsed.error.c_str(), kvr::kUsageText);
        return 2;
    }
    const kvr::CommandLine& options = *parsed.options;
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
        return diagnosis.usable ? 0 : 1;
    }
    return kvr::runProgram(app, options);
}
