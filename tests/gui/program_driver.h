#pragma once
// The real program on a private X server, with its emulated mouse kept in a file, driven by
// pointer moves, clicks and keys from xdotool: what an owner's hand does.
// Qt's headers first: Xlib's macros (None, Bool, Status) would break them.
#include <QByteArray>
#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "x11_session.h"

class QWidget;

namespace kvr::test {

QByteArray readFile(const QString& path);
// Writes the factory memory of the emulated mouse into a new file.
bool writeFactoryMouseFile(const QString& path);
// Where a control lies in its window.
QPoint centreOf(const QWidget* w);

// Starts `binary` on the server with the mouse of `mouseFile` and waits until its window shows
// and the first read of the mouse is over; the window, or 0 when that did not happen.
Window startOnMouseFile(QProcess& program, XvfbServer& x, const QString& binary,
                        const QString& mouseFile);

// The real program on its own X server with a fresh factory mouse file; ended with the object.
struct ProgramOnFactoryMouse {
    explicit ProgramOnFactoryMouse(const QString& binary);
    ~ProgramOnFactoryMouse();
    // The program's window once it shows and has read the mouse; 0 when that did not happen.
    Window window = 0;
    QTemporaryDir dir;
    QString file;
    XvfbServer x;
    QProcess program;
};

class XdoTool {
public:
    explicit XdoTool(const QString& display);
    bool run(const QStringList& args);
    // Moves the pointer to a point of a window, and clicks the left button there when asked.
    // xdotool waits for the pointer to arrive: a point it is at already costs a long wait.
    bool pointAt(Window w, QPoint p, bool click);

private:
    QProcessEnvironment env_;
};

}  // namespace kvr::test
