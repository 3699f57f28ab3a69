// Tarnwick: one window that keeps a screen name present in TOC2 chat rooms.
#include "Fonts.h"
#include "ServerOption.h"
#include "frmMain.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <optional>

#ifndef TARNWICK_TOC_HOST
#define TARNWICK_TOC_HOST "localhost"
#endif

namespace {

void printLine(const char* kind, const QString& text)
{
    std::printf("%s: %s\n", kind, qPrintable(text));
    std::fflush(stdout);
}

// For start-up measurements (--exit-after-first-paint, scripts/bench-startup.sh): once the window has been painted for the
// first time, print "first paint" and quit.
class ExitAfterFirstPaint : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // From the next turn of the loop, once this paint has reached the screen.
            QTimer::singleShot(0, [] {
                std::puts("first paint");
                std::fflush(stdout);
                QApplication::quit();
            });
        }
        return false;
    }

private:
    bool m_seen = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwick"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));

    const QString defaultServer = QStringLiteral("%1:%2").arg(QStringLiteral(TARNWICK_TOC_HOST)).arg(frmMain::kDefaultPort);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Keeps a screen name present in TOC2 chat rooms.\n\n"
                       "Connect signs on to %1 (the host chosen when the program was built).\n"
                       "Nothing is read or written at start: no settings, no files.")
            .arg(defaultServer));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption server(
        QStringLiteral("server"),
        QStringLiteral("Sign on to this TOC server instead of %1. The port defaults to %2; put an IPv6 address "
                       "in brackets to give a port ([::1]:5190).")
            .arg(defaultServer)
            .arg(frmMain::kDefaultPort),
        QStringLiteral("HOST[:PORT]"));
    const QCommandLineOption echo(QStringLiteral("echo"),
                                  QStringLiteral("Also print on standard output each log line (\"log: ...\"), each "
                                                 "status change (\"status: ...\") and the room list whenever it "
                                                 "changes (\"rooms: \" and the entries, separated by \" | \")."));
    const QCommandLineOption firstPaintOnly(QStringLiteral("exit-after-first-paint"),
                                            QStringLiteral("Print \"first paint\" once the window has been painted, "
                                                           "then quit (for start-up measurements)."));
    parser.addOption(server);
    parser.addOption(echo);
    parser.addOption(firstPaintOnly);
    parser.process(app);
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "tarnwick: unexpected argument \"%s\" (see --help)\n",
                     qPrintable(parser.positionalArguments().first()));
        return 2;
    }

    std::optional<ServerAddress> address;
    if (parser.isSet(server)) {
        address = parseServerOption(parser.value(server), frmMain::kDefaultPort);
        if (!address) {
            std::fprintf(stderr, "tarnwick: --server wants HOST or HOST:PORT with a port from 1 to 65535, not \"%s\"\n",
                         qPrintable(parser.value(server)));
            return 2;
        }
    }

    ensureTahoma();
    frmMain window;
    if (address)
        window.setServer(address->host, address->port);
    if (parser.isSet(echo)) {
        QObject::connect(&window, &frmMain::logLineAdded, [](const QString& line) { printLine("log", line); });
        QObject::connect(&window, &frmMain::statusChanged, [](const QString& text) { printLine("status", text); });
        QObject::connect(&window, &frmMain::roomsChanged,
                         [](const QStringList& entries) { printLine("rooms", entries.join(QStringLiteral(" | "))); });
    }
    ExitAfterFirstPaint firstPaint;
    if (parser.isSet(firstPaintOnly))
        window.installEventFilter(&firstPaint);
    window.show();
    // Without a window manager nothing activates a new window, and typing would go nowhere.
    window.activateWindow();
    return app.exec();
}
