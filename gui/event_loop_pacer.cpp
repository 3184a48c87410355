#include "gui/event_loop_pacer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace kvr {

void EventLoopPacer::wait(std::chrono::milliseconds duration) {
    // A precise single-shot timer ends the nested loop; the handshake's many 5 ms waits would
    // drift noticeably with a coarse timer.
    QEventLoop loop;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(duration);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void EventLoopPacer::pump() { QCoreApplication::processEvents(); }

}  // namespace kvr
