#pragma once
// kvr5507ctl run in-process against an emulated mouse whose memory lives in a file, as
// `--emulate=FILE` keeps it; the mouse of the last run stays for its wire log.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/ctl_program.h"
#include "device/emulated_mouse.h"
#include "device/memory_file.h"

namespace kvr::test {

struct CtlRun {
    int code = -1;
    std::string out;
    std::string err;
};

class CtlTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("kvr5507ctl_test_" +
                std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        memoryFile = dir_ / "mouse.bin";
        // Backups of the writes go to this test's own data folder, never the user's.
#ifdef _WIN32
        _wputenv_s(L"APPDATA", (dir_ / "data").c_str());
#else
        ::setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
#endif
        setMemory(factoryMemory());
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    void setMemory(const MouseMemory& memory) { ASSERT_TRUE(saveMemoryFile(memoryFile, memory)); }
    MouseMemory memory() const { return openMemoryFile(memoryFile).memory; }
    std::filesystem::path path(const std::string& name) const { return dir_ / name; }

    // Runs `kvr5507ctl --emulate=FILE args...`.
    CtlRun run(std::initializer_list<std::string> args) {
        std::vector<std::string> all{"--emulate=" + memoryFile.string()};
        all.insert(all.end(), args);
        return runArgs(all);
    }
    CtlRun runArgs(const std::vector<std::string>& args, CtlEnvironment environment = {}) {
        mouse.reset();
        if (!environment.onEmulatedMouse) {
            environment.onEmulatedMouse = [this](const std::shared_ptr<EmulatedMouse>& m) {
                mouse = m;
                if (prepareMouse) prepareMouse(*m);
            };
        }
        std::ostringstream out;
        std::ostringstream err;
        CtlRun result;
        result.code = runCtl(args, out, err, environment);
        result.out = out.str();
        result.err = err.str();
        return result;
    }

    // Set requests of the last run with this command byte.
    int requestsWith(std::uint8_t command) const {
        int n = 0;
        for (const CommandReport& r : mouse->requests())
            n += r[CommandReport::kCommandByte] == command;
        return n;
    }

    std::filesystem::path memoryFile;
    std::shared_ptr<EmulatedMouse> mouse;
    std::function<void(EmulatedMouse&)> prepareMouse;

private:
    std::filesystem::path dir_;
};

}  // namespace kvr::test
