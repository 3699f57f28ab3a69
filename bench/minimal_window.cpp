// The start-up anchor: the least a Qt program can do to put a window on the screen. It prints
// "first paint" once its window has been painted for the first time, then quits, the same way
// tarnwick does with --exit-after-first-paint.
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.resize(440, 460);
    struct FirstPaint : QObject {
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint && !seen) {
                seen = true;
                // Reported from the next turn of the loop, once this paint has reached the screen.
                QTimer::singleShot(0, [] {
                    std::puts("first paint");
                    std::fflush(stdout);
                    QApplication::quit();
                });
            }
            return false;
        }
        bool seen = false;
    } firstPaint;
    window.installEventFilter(&firstPaint);
    window.show();
    return app.exec();
}
