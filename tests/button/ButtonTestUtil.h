#pragma once
// Helpers for the button tests: an event recorder and plain mouse events sent straight to a widget.
#include "Button.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStringList>

#include <cstring>

// Records the button's events as text, e.g. "MouseDown 1 0 5 6", in the order they were emitted,
// for as long as it lives.
struct EventLog {
    QStringList entries;
    QObject alive; // the connections' context: they end with the log

    explicit EventLog(Button& b, bool withMoves = true)
    {
        const auto add = [this](QString text) { entries << text; };
        const auto mouse = [](const char* name, int button, int shift, float x, float y) {
            return QStringLiteral("%1 %2 %3 %4 %5").arg(QLatin1String(name)).arg(button).arg(shift).arg(x).arg(y);
        };
        const auto keys = [](const char* name, int code, int shift) {
            return QStringLiteral("%1 %2 %3").arg(QLatin1String(name)).arg(code).arg(shift);
        };
        QObject::connect(&b, &Button::Click, &alive, [=] { add(QStringLiteral("Click")); });
        QObject::connect(&b, &Button::DblClick, &alive, [=] { add(QStringLiteral("DblClick")); });
        QObject::connect(&b, &Button::KeyDown, &alive, [=](int k, int s) { add(keys("KeyDown", k, s)); });
        QObject::connect(&b, &Button::KeyPress, &alive, [=](int a) { add(QStringLiteral("KeyPress %1").arg(a)); });
        QObject::connect(&b, &Button::KeyUp, &alive, [=](int k, int s) { add(keys("KeyUp", k, s)); });
        QObject::connect(&b, &Button::MouseDown, &alive, [=](int bt, int s, float x, float y) {
            add(mouse("MouseDown", bt, s, x, y));
        });
        QObject::connect(&b, &Button::MouseUp, &alive, [=](int bt, int s, float x, float y) {
            add(mouse("MouseUp", bt, s, x, y));
        });
        if (withMoves) {
            QObject::connect(&b, &Button::MouseMove, &alive, [=](int bt, int s, float x, float y) {
                add(mouse("MouseMove", bt, s, x, y));
            });
        }
    }
};

// A mouse move delivered to the widget itself, wherever the point is (as under a mouse grab).
inline void sendMove(QWidget* w, QPoint pos, Qt::MouseButtons held = Qt::NoButton)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(pos), w->mapToGlobal(QPointF(pos)), Qt::NoButton, held,
                     Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

// Collects the warnings the button logs (category "tarnwick.button") for as long as it lives; other
// messages go on to the handler before it.
class ButtonWarnings {
public:
    QStringList texts;

    ButtonWarnings()
    {
        current() = this;
        previous_ = qInstallMessageHandler(&handle);
    }
    ~ButtonWarnings()
    {
        qInstallMessageHandler(previous_);
        current() = nullptr;
    }
    ButtonWarnings(const ButtonWarnings&) = delete;
    ButtonWarnings& operator=(const ButtonWarnings&) = delete;

private:
    static ButtonWarnings*& current()
    {
        static ButtonWarnings* log = nullptr;
        return log;
    }
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        ButtonWarnings* log = current();
        if (log && type == QtWarningMsg && context.category && std::strcmp(context.category, "tarnwick.button") == 0)
            log->texts << text;
        else if (log && log->previous_)
            log->previous_(type, context, text);
    }
    QtMessageHandler previous_ = nullptr;
};
