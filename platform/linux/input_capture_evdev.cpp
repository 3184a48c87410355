#include "platform/linux/input_capture_evdev.h"

#include <fcntl.h>
#include <libevdev/libevdev.h>
#include <poll.h>
#include <unistd.h>

#include <filesystem>

#include "platform/linux/key_map_evdev.h"
#include "platform/linux/library_functions.h"

namespace kvr {

namespace {

// libevdev, opened when recording first looks for input devices.
#define KVR_EVDEV_FUNCTIONS(X) \
    X(libevdev_new_from_fd)    \
    X(libevdev_has_event_code) \
    X(libevdev_next_event)     \
    X(libevdev_free)
struct Evdev {
    KVR_EVDEV_FUNCTIONS(KVR_FUNCTION_FIELD)
};

const Evdev* evdev() {
    return openedLibrary<Evdev>("libevdev.so.2", [](const FunctionBinder& bind, Evdev& f) {
        return true KVR_EVDEV_FUNCTIONS(KVR_BIND_FUNCTION);
    });
}

}  // namespace

std::vector<EvdevInputCapture::Device> EvdevInputCapture::openDevices(
    const std::string& directory) {
    std::vector<Device> devices;
    const Evdev* ev = evdev();
    if (!ev) return devices;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
        if (!entry.path().filename().string().starts_with("event")) continue;
        const int fd = open(entry.path().c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        libevdev* dev = nullptr;
        if (ev->libevdev_new_from_fd(fd, &dev) != 0) {
            close(fd);
            continue;
        }
        const bool keyboard = ev->libevdev_has_event_code(dev, EV_KEY, KEY_A) != 0;
        const bool mouse = ev->libevdev_has_event_code(dev, EV_KEY, BTN_LEFT) != 0;
        if (!keyboard && !mouse) {
            ev->libevdev_free(dev);
            close(fd);
            continue;
        }
        devices.push_back({fd, dev});
    }
    return devices;
}

void EvdevInputCapture::closeDevices(std::vector<Device>& devices) {
    // Devices were opened only with libevdev at hand.
    for (Device& d : devices) {
        evdev()->libevdev_free(d.dev);
        close(d.fd);
    }
    devices.clear();
}

bool EvdevInputCapture::available(const std::string& directory) {
    std::vector<Device> devices = openDevices(directory);
    const bool any = !devices.empty();
    closeDevices(devices);
    return any;
}

bool EvdevInputCapture::start(InputCaptureSink& sink) {
    stop();
    failure_.clear();
    devices_ = openDevices(directory_);
    if (devices_.empty() || pipe2(wakeFds_, O_CLOEXEC | O_NONBLOCK) != 0) {
        closeDevices(devices_);
        failure_ = kCaptureUnavailableText;
        return false;
    }
    sink_ = &sink;
    reader_ = std::thread([this] { run(); });
    return true;
}

void EvdevInputCapture::stop() {
    if (reader_.joinable()) {
        const char stopByte = 1;
        [[maybe_unused]] const auto written = write(wakeFds_[1], &stopByte, 1);
        reader_.join();
    }
    closeDevices(devices_);
    for (int& fd : wakeFds_) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
    sink_ = nullptr;
}

void EvdevInputCapture::run() {
    std::vector<pollfd> fds;
    fds.push_back({wakeFds_[0], POLLIN, 0});
    for (const Device& d : devices_) fds.push_back({d.fd, POLLIN, 0});
    for (;;) {
        if (poll(fds.data(), fds.size(), -1) < 0) continue;
        if (fds[0].revents & POLLIN) return;
        for (std::size_t i = 1; i < fds.size(); ++i) {
            // An unplugged device stops being watched; the others go on.
            if (fds[i].revents & (POLLERR | POLLHUP | POLLNVAL))
                fds[i].fd = -1;
            else if (fds[i].revents & POLLIN)
                read(devices_[i - 1]);
        }
    }
}

void EvdevInputCapture::read(Device& device) {
    input_event ev;
    int status = evdev()->libevdev_next_event(device.dev, LIBEVDEV_READ_FLAG_NORMAL, &ev);
    while (status == LIBEVDEV_READ_STATUS_SUCCESS || status == LIBEVDEV_READ_STATUS_SYNC) {
        if (status == LIBEVDEV_READ_STATUS_SYNC) {
            // Events were dropped by the kernel; skip the catch-up, it holds no presses to record.
            while (status == LIBEVDEV_READ_STATUS_SYNC)
                status = evdev()->libevdev_next_event(device.dev, LIBEVDEV_READ_FLAG_SYNC, &ev);
        } else if (ev.type == EV_KEY) {
            if (const auto button = evdevButton(ev.code)) {
                if (ev.value != 2) sink_->mouseButtonChanged(*button, ev.value == 1, std::nullopt);
            } else {
                // 2 is the kernel's auto-repeat: another down of a held key.
                sink_->keyChanged(evdevKeyToVirtualKey(ev.code), ev.value != 0);
            }
        }
        status = evdev()->libevdev_next_event(device.dev, LIBEVDEV_READ_FLAG_NORMAL, &ev);
    }
}

}  // namespace kvr
