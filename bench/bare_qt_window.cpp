// The yardstick of startup_bench: the least a Qt 6 program does to show an 800 x 600 window.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("bare");
    window.resize(800, 600);
    window.show();
    return app.exec();
}
