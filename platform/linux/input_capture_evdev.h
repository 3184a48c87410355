#pragma once
// Capture where there is no X11 desktop (Wayland): the keyboards and mice under /dev/input, read
// without grabbing them, so every program still gets its input. Needs read access to the devices.
#include <string>
#include <thread>
#include <vector>

#include "macros/input_capture.h"

struct libevdev;

namespace kvr {

class EvdevInputCapture final : public InputCapture {
public:
    explicit EvdevInputCapture(std::string directory = "/dev/input")
        : directory_(std::move(directory)) {}
    ~EvdevInputCapture() override { stop(); }

    // Whether at least one keyboard or mouse under the directory can be read.
    static bool available(const std::string& directory = "/dev/input");

    bool start(InputCaptureSink& sink) override;
    void stop() override;
    std::string failure() const override { return failure_; }

private:
    struct Device {
        int fd = -1;
        libevdev* dev = nullptr;
    };
    static std::vector<Device> openDevices(const std::string& directory);
    static void closeDevices(std::vector<Device>& devices);
    void run();
    void read(Device& device);

    std::string directory_;
    std::string failure_;
    InputCaptureSink* sink_ = nullptr;
    std::vector<Device> devices_;
    int wakeFds_[2] = {-1, -1};
    std::thread reader_;
};

}  // namespace kvr
