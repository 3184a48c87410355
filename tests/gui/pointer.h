#pragma once
// A pointer's view of the window: clicks, presses and wheel turns at a point of a top-level
// window, delivered by that window to whatever widget lies on top there, with the enter, press,
// release and leave a real pointer makes. A control covered by a picture or a shield does not get
// the click, just as on the desktop.
#include <QApplication>
#include <QListWidget>
#include <QPointer>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

namespace kvr::test {

// The centre of a widget, in the coordinates of its top-level window.
inline QPoint centreInWindow(const QWidget* w) {
    return w->mapTo(w->window(), w->rect().center());
}

// The pointer moves on to the window's corner, where no control lies, so the control it
// clicked gets its leave.
inline void leaveWindow(const QPointer<QWidget>& topLevel) {
    // A click may have closed the window, or a dialog that deleted itself.
    if (topLevel && topLevel->windowHandle() && topLevel->isVisible())
        QTest::mouseMove(topLevel->windowHandle(), QPoint(0, 0));
}

// Moves the pointer to the point of the top-level window and clicks there; the pointer stays.
inline void clickAt(QWidget* topLevel, QPoint at, Qt::MouseButton button = Qt::LeftButton,
                    Qt::KeyboardModifiers modifiers = {}) {
    QWindow* handle = topLevel->windowHandle();
    QTest::mouseMove(handle, at);
    QTest::mouseClick(handle, button, modifiers, at);
}

inline void pressAt(QWidget* topLevel, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QWindow* handle = topLevel->windowHandle();
    QTest::mouseMove(handle, at);
    QTest::mousePress(handle, button, {}, at);
}

inline void releaseAt(QWidget* topLevel, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseRelease(topLevel->windowHandle(), button, {}, at);
}

// Presses at one point, moves with the button held and releases at another.
inline void dragAt(QWidget* topLevel, QPoint from, QPoint to) {
    pressAt(topLevel, from);
    QTest::mouseMove(topLevel->windowHandle(), to);
    releaseAt(topLevel, to);
}

// Clicks at a point of a widget's area, given in the widget's own coordinates.
inline void clickIn(QWidget* w, QPoint local, Qt::MouseButton button = Qt::LeftButton) {
    clickAt(w->window(), w->mapTo(w->window(), local), button);
}

// Where a row of a list is on screen, in the list's viewport, once the owner has scrolled it into
// view.
inline QPoint rowInView(QListWidget* list, int row) {
    list->scrollToItem(list->item(row));
    return list->visualItemRect(list->item(row)).center();
}

inline void clickRow(QListWidget* list, int row, Qt::MouseButton button = Qt::LeftButton) {
    clickIn(list->viewport(), rowInView(list, row), button);
}

// Clicks where the pointer would to reach this control: the centre of its area on screen.
inline void clickOn(QWidget* w, Qt::MouseButton button = Qt::LeftButton) {
    clickAt(w->window(), centreInWindow(w), button);
}

// One notch of the wheel (positive: away from the user) over the point; Qt's window code has no
// public wheel entry, so the turn goes to the widget the window finds on top there.
inline void wheelAt(QWidget* topLevel, QPoint at, int notches) {
    QTest::mouseMove(topLevel->windowHandle(), at);
    QWidget* target = topLevel->childAt(at);
    if (target == nullptr) target = topLevel;
    const QPointF local = target->mapFrom(topLevel, at);
    QWheelEvent wheel(local, topLevel->mapToGlobal(QPointF(at)), QPoint(),
                      QPoint(0, 120 * notches), Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &wheel);
}

}  // namespace kvr::test
