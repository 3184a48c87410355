#pragma once
// One window on the virtual bus with virtual time, scripted dialogs and a faked desktop: the
// fixture that window tests perturb.
#include <QCoreApplication>
#include <QEnterEvent>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "gui/busy_window.h"
#include "gui/desktop_services.h"
#include "gui/dialogs.h"
#include "gui/main_window.h"
#include "gui/skin_widgets.h"
#include "gui/window_controls.h"
#include "device/emulated_mouse.h"
#include "device/pacer.h"
#include "device/virtual_bus.h"
#include "macros/input_capture.h"
#include "macros/tick_clock.h"
#include "settings/memory_pointer_store.h"
#include "pointer.h"

namespace kvr::test {

inline constexpr const char* kMousePath = "virtual:mouse";

class WindowTest : public ::testing::Test {
protected:
    // The window is created with a keyboard but no mouse on the bus; plugMouse() adds one.
    void SetUp() override {
        bus.plug({HidInterfaceInfo{"virtual:keyboard", 0x046D, 0xC31C, 0x0110, 0}, true, nullptr});
        createWindow();
    }

    void createWindow() {
        window = std::make_unique<MainWindow>(
            AppServices{bus, pacer, dialogs, desktop, pointerStore, &capture, &tickClock});
        window->presenceTimer().stop();
        busy = std::make_unique<BusyWindow>(*window, BusyWindow::FrameSource{});
        window->setBusyWindow(busy.get());
        window->show();
    }

    void plugMouse(int variant = 1) {
        mouse = std::make_shared<EmulatedMouse>(variant);
        kvr::plugMouse(bus, mouse, kMousePath);
    }

    // The first presence tick: finds and reads the mouse when one is plugged in.
    void tick() { window->DevTimerTimer(); }

    void plugAndRead() {
        plugMouse();
        tick();
    }

    QWidget* find(const QString& name) { return window->controls().find(name); }
    QLabel* label(const QString& name) { return window->controls().get<QLabel>(name); }
    QString picture(const QString& image) { return window->controls().image(image)->pictureName(); }
    // Clicks where the pointer would: the centre of the control's area in the window.
    void click(const QString& name, Qt::MouseButton button = Qt::LeftButton) {
        QWidget* w = find(name);
        ASSERT_NE(w, nullptr) << name.toStdString();
        clickOn(w, button);
    }
    // The pointer moves on to a corner of the window where no control lies.
    void moveAway() { leaveWindow(window.get()); }
    // The pointer comes onto, or leaves, a control.
    void enter(const QString& name) {
        QEnterEvent e(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(find(name), &e);
    }
    void leave(const QString& name) {
        QEvent e(QEvent::Leave);
        QCoreApplication::sendEvent(find(name), &e);
    }
    // Replaces a field's text by typing; Return ends the entry unless it is still being typed.
    void type(const QString& field, const QString& keys, bool leave = true) {
        auto* edit = window->controls().get<QLineEdit>(field);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, keys);
        if (leave) QTest::keyClick(edit, Qt::Key_Return);
    }
    QString fieldText(const QString& field) {
        return window->controls().get<QLineEdit>(field)->text();
    }
    void tickMarquee(int n) {
        for (int i = 0; i < n; ++i) window->LabelRunTimer();
    }

    VirtualBus bus;
    VirtualPacer pacer;
    // Keys and buttons pushed by the test, at times it sets.
    InjectedCapture capture;
    VirtualTickClock tickClock;
    RecordingDialogs dialogs;
    RecordingDesktopServices desktop;
    MemoryPointerStore pointerStore;
    std::shared_ptr<EmulatedMouse> mouse;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<BusyWindow> busy;
};

}  // namespace kvr::test
