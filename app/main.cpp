// Tarnwick: keeps a screen name present in TOC2 chat rooms, with a window or without one.
#include "AppSettings.h"
#include "Fonts.h"
#include "Headless.h"
#include "PasswordVault.h"
#include "RecordCommands.h"
#include "ServerOption.h"
#include "SingleInstance.h"
#include "StopSignals.h"
#include "TarnwickBuildConfig.h"
#include "Texts.h"
#include "TranscriptDb.h"
#include "TranscriptStore.h"
#include "frmMain.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QEvent>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <optional>

namespace {

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

struct Options {
    QCommandLineOption help, version, server, echo, firstPaint, connect, minimized, noWindow, passwordFile, join,
        screenName, retryScale, report, transcript, since;
};

// The description names the server Connect signs on to: the one given with --server, else the one
// the user chose in the window, else the build's.
QString describe(const ServerAddress& server, const QString& where)
{
    return QStringLiteral("Keeps a screen name present in TOC2 chat rooms: signs on again after a lost\n"
                          "connection and rejoins its rooms. Connect signs on to %1\n(%2).\n\n"
                          "Remembered in Tarnwick/Tarnwick.ini in the user's configuration folder\n"
                          "($XDG_CONFIG_HOME, else ~/.config): the server, the screen name, the last exchange,\n"
                          "the rooms, \"Stay signed on\" and \"Remember password\". The password only in the\n"
                          "system keychain. One copy runs per settings folder.\n\n"
                          "What is said in the rooms, who came and went, instant messages and how present the\n"
                          "name was are kept for %3 days (\"KeepDays\" in the settings) in\n"
                          "Tarnwick/transcript.sqlite in the user's data folder ($XDG_DATA_HOME, else\n"
                          "~/.local/share).")
        .arg(server.text(), where, QString::number(Transcript::kDefaultKeepDays));
}

Options defineOptions(QCommandLineParser& parser)
{
    Options o{
        {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Displays help on commandline options.")},
        {{QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Displays version information.")},
        {QStringLiteral("server"),
         QStringLiteral("Sign on to this TOC server in this run; the one chosen with \"Server...\" in the menu stays "
                        "remembered. The port defaults to %1; put an IPv6 address in brackets to give a port "
                        "([::1]:5190).")
             .arg(Presence::kDefaultPort),
         QStringLiteral("HOST[:PORT]")},
        {QStringLiteral("echo"),
         QStringLiteral("Also print on standard output each log line (\"log: ...\"), each status change (\"status: "
                        "...\") and the room list whenever it changes (\"rooms: \" and the entries, separated by "
                        "\" | \").")},
        {QStringLiteral("exit-after-first-paint"),
         QStringLiteral("Print \"first paint\" once the window has been painted, then quit (for start-up "
                        "measurements).")},
        {QStringLiteral("connect"),
         QStringLiteral("Sign on at start with the remembered screen name and password (the log says what is "
                        "missing).")},
        {QStringLiteral("minimized"), QStringLiteral("Start hidden in the tray (minimised where there is none).")},
        {QStringLiteral("no-window"),
         QStringLiteral("Run without a window and without a display: sign on at once, print the log lines and "
                        "status changes on standard output, sign off and exit 0 on SIGINT, SIGTERM or SIGHUP (1 "
                        "when the server refuses the sign-on for good, the screen name signed on elsewhere or "
                        "nothing is known to sign on with; 3 when another copy runs with the same settings).")},
        {QStringLiteral("password-file"),
         QStringLiteral("With --no-window: read the password from the first line of FILE, which must be your own "
                        "and which only you may read and write (else the keychain's remembered password is used)."),
         QStringLiteral("FILE")},
        {QStringLiteral("join"),
         QStringLiteral("Also be in this room for this run (exchange 4 when none is given); may be repeated."),
         QStringLiteral("ROOM[:EXCHANGE]")},
        {QStringLiteral("screen-name"),
         QStringLiteral("Sign on as NAME instead of the remembered screen name."), QStringLiteral("NAME")},
        {QStringLiteral("retry-scale"),
         QStringLiteral("Divide every wait of the session by N, for tests: the waits before signing on again, the "
                        "60 s of silence and 30 s for an answer that mark a dead link, the 30 s a rejoin may take. "
                        "The log names the undivided waits."),
         QStringLiteral("N"), QStringLiteral("1")},
        {QStringLiteral("report"),
         QStringLiteral("Print how present the screen name was in each room, then each gap and why, from the "
                        "transcript; exit 1 when there is none yet. Works while Tarnwick runs.")},
        {QStringLiteral("transcript"),
         QStringLiteral("Print what was said in ROOM (in every exchange when none is given), oldest first; exit 1 "
                        "when there is no transcript yet. Works while Tarnwick runs."),
         QStringLiteral("ROOM[:EXCHANGE]")},
        {QStringLiteral("since"),
         QStringLiteral("With --report or --transcript: only the last DURATION, a number with m, h or d (90m, 12h, "
                        "7d)."),
         QStringLiteral("DURATION")},
    };
    parser.addOptions({o.help, o.version, o.server, o.echo, o.firstPaint, o.connect, o.minimized, o.noWindow,
                       o.passwordFile, o.join, o.screenName, o.retryScale, o.report, o.transcript, o.since});
    return o;
}

int fail(const QString& message)
{
    std::fprintf(stderr, "tarnwick: %s (see --help)\n", message.toLocal8Bit().constData());
    return 2;
}

// --report and --transcript: they read the record only, take no lock and need no display.
int runRecordCommand(int argc, char** argv, const QCommandLineParser& parser, const Options& o)
{
    if (parser.isSet(o.report) && parser.isSet(o.transcript))
        return fail(Texts::get(Text::UsageRecordTogether));
    std::optional<Transcript::Time> since;
    if (parser.isSet(o.since)) {
        since = RecordCommands::parseDuration(parser.value(o.since));
        if (!since)
            return fail(Texts::get(Text::UsageSince, {parser.value(o.since)}));
    }
    std::optional<RecordCommands::RoomArgument> room;
    if (parser.isSet(o.transcript)) {
        room = RecordCommands::parseRoom(parser.value(o.transcript));
        if (!room)
            return fail(Texts::get(Text::UsageTranscript, {parser.value(o.transcript)}));
    }
    QCoreApplication app(argc, argv); // for the database driver
    QTextStream out(stdout);
    QTextStream err(stderr);
    const RecordCommands::Options options{TranscriptDb::defaultPath(), since, 0, {}};
    return room ? RecordCommands::runTranscript(options, *room, out, err)
                : RecordCommands::runReport(options, out, err);
}

} // namespace

// The command line is read before any application object: a wrong option is a usage error with or
// without a display, and help needs none.
int main(int argc, char** argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("Tarnwick"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(TarnwickBuild::kVersion));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    const Options o = defineOptions(parser);
    if (!parser.parse(arguments))
        return fail(parser.errorText());
    std::optional<ServerAddress> given;
    if (parser.isSet(o.server)) {
        given = parseServerOption(parser.value(o.server), Presence::kDefaultPort);
        if (!given)
            return fail(QStringLiteral("--server wants HOST or HOST:PORT with a port from 1 to 65535, not \"%1\"")
                            .arg(parser.value(o.server)));
    }
    if (parser.isSet(o.help)) {
        const std::optional<ServerAddress> chosen = AppSettings().rememberedServer();
        parser.setApplicationDescription(
            given    ? describe(*given, QStringLiteral("given with --server"))
            : chosen ? describe(*chosen, QStringLiteral("chosen with \"Server...\" in the menu"))
                     : describe(defaultServer(), QStringLiteral("the server chosen when the program was built")));
        // Without an application object the parser does not know the program's name.
        QString help = parser.helpText();
        help.replace(QStringLiteral("<executable_name>"), QFileInfo(arguments.first()).fileName());
        std::fputs(help.toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (parser.isSet(o.version)) {
        std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()));
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().first()));

    QList<Presence::Room> rooms;
    for (const QString& text : parser.values(o.join)) {
        const auto room = parseJoinOption(text);
        if (!room)
            return fail(QStringLiteral("--join wants ROOM or ROOM:EXCHANGE with an exchange from 0 to 32767, not "
                                       "\"%1\"")
                            .arg(text));
        rooms << *room;
    }
    bool scaleOk = false;
    const double scale = parser.value(o.retryScale).toDouble(&scaleOk);
    if (!scaleOk || !(scale >= 1 && scale <= 1e6))
        return fail(QStringLiteral("--retry-scale wants a number from 1 to 1000000, not \"%1\"")
                        .arg(parser.value(o.retryScale)));
    if (parser.isSet(o.passwordFile) && !parser.isSet(o.noWindow))
        return fail(QStringLiteral("--password-file goes with --no-window"));
    if (parser.isSet(o.report) || parser.isSet(o.transcript))
        return runRecordCommand(argc, argv, parser, o);
    if (parser.isSet(o.since))
        return fail(Texts::get(Text::UsageSinceAlone));

    if (parser.isSet(o.noWindow)) {
        QCoreApplication app(argc, argv);
        return runHeadless({given, parser.value(o.screenName), parser.value(o.passwordFile), rooms, scale,
                            parser.isSet(o.echo)});
    }

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tarnwick.Tarnwick"));
    AppSettings settings;
    SingleInstance instance(settings.folder());
    if (!instance.claim()) {
        // Another copy keeps this screen name present: it shows its window instead.
        if (instance.askToShow())
            return 0;
        std::fprintf(stderr, "%s\n",
                     Texts::get(Text::AlreadyRunning, {QString::number(instance.holder())}).toLocal8Bit().constData());
        return kExitAlreadyRunning;
    }
    instance.listen(true);

    ensureTahoma();
    frmMain window(nullptr, makeQtClock(scale), std::make_unique<KeychainVault>());
    Presence::Remembered remembered = settings.load();
    if (parser.isSet(o.screenName))
        remembered.screenName = parser.value(o.screenName);
    window.restore(remembered);
    const ServerAddress server = given.value_or(remembered.server.value_or(defaultServer()));
    window.setServer(server.host, server.port);
    Presence& presence = window.presence();
    presence.keepRecord(std::make_unique<TranscriptStore>(TranscriptDb::defaultPath(), settings.keepDays()));
    for (const Presence::Room& room : rooms)
        presence.addRoom(room);
    QObject::connect(&presence, &Presence::rememberedChanged, [&] {
        if (const QString failure = settings.save(presence.remembered()); !failure.isEmpty())
            window.addLog(failure);
    });
    QObject::connect(&window, &frmMain::quitRequested, &app, &QCoreApplication::quit);
    QObject::connect(&instance, &SingleInstance::showRequested, &window, &frmMain::bringBack);
    StopSignals stopSignals;
    QObject::connect(&stopSignals, &StopSignals::received, &window, &frmMain::quit);
    if (parser.isSet(o.echo)) {
        QObject::connect(&window, &frmMain::logLineAdded, [](const QString& line) { printEcho("log", line); });
        QObject::connect(&window, &frmMain::statusChanged, [](const QString& text) { printEcho("status", text); });
        QObject::connect(&window, &frmMain::roomsChanged, [&presence] {
            printEcho("rooms", presence.roomList().entries().join(QStringLiteral(" | ")));
        });
    }
    if (!settings.problem().isEmpty())
        window.addLog(settings.problem());
    ExitAfterFirstPaint firstPaint;
    if (parser.isSet(o.firstPaint))
        window.installEventFilter(&firstPaint);
    if (parser.isSet(o.minimized)) {
        window.showInTray();
    } else {
        window.show();
        // Without a window manager nothing activates a new window, and typing would go nowhere.
        window.activateWindow();
    }
    // The keychain is asked once the window is up; its answer never holds up the first paint.
    const bool connect = parser.isSet(o.connect);
    QTimer::singleShot(0, &presence, [&presence, connect] { presence.start(connect); });
    return app.exec();
}
