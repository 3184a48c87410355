// The macro recorder beside the window: the CPU an idle recording uses (target at most 1 % of a
// core over 10 s) and the time from a raised button flag to its line in the event list (target at
// most 2 ms at the 99th percentile). Prints `<case> value=<number>`.
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "macros/input_capture.h"
#include "macros/macro_editor.h"
#include "macros/macro_recorder.h"
#include "macros/tick_clock.h"

namespace {

using namespace kvr;
using Clock = std::chrono::steady_clock;

class Discard final : public RecordingTarget {
public:
    void storeRecording(int, const MacroLines&) override {}
};

double processCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

}  // namespace

int main() {
    InjectedCapture capture;
    SteadyTickClock clock;
    MacroEditor editor;
    Discard target;
    MacroRecorder recorder(capture, clock, editor, target);
    const RecordDelay noDelay{RecordDelayMode::None, 50};

    // Idle: a recording runs and nothing is pressed; the window thread waits as its event loop
    // would.
    recorder.startClick(0, noDelay);
    const double cpuBefore = processCpuSeconds();
    const auto wallBefore = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(10));
    const double cpu = processCpuSeconds() - cpuBefore;
    const double wall = std::chrono::duration<double>(Clock::now() - wallBefore).count();
    std::printf("recorder_idle_cpu_percent value=%.3f\n", 100.0 * cpu / wall);

    // Flag to line: a button event raises its flag, the worker hands it over, the window thread
    // wakes on the queue and adds the line.
    std::vector<double> latencies;
    bool down = true;
    for (int i = 0; i < 2000; ++i) {
        if (!recorder.recording()) recorder.startClick(0, noDelay);
        const std::size_t before = editor.lines().size();
        const auto start = Clock::now();
        if (down)
            capture.buttonDown(MouseButton::Right);
        else
            capture.buttonUp(MouseButton::Right);
        while (editor.lines().size() == before && recorder.recording()) {
            if (recorder.waitForInput(std::chrono::seconds(1))) recorder.processPending();
        }
        latencies.push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        down = !down;
        // Between events, as a person's clicks are: the worker goes back to sleep.
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    recorder.finish();
    std::sort(latencies.begin(), latencies.end());
    std::printf("recorder_flag_to_line_median_ms value=%.4f\n", latencies[latencies.size() / 2]);
    std::printf("recorder_flag_to_line_p99_ms value=%.4f\n",
                latencies[latencies.size() * 99 / 100]);
    return 0;
}
