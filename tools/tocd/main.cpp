// tocd: a small TOC2 server for tests and for running the program without the real service.
#include "TarnwickBuildConfig.h"
#include "TcpFront.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>

#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

namespace {

constexpr char kHelp[] = R"(A small local TOC2 server.

Accounts live only while tocd runs. The first line on standard output is always
"listening on HOST:PORT" with the real port; one line per connection event goes
to standard error.

Accounts file: a line "account NAME:PASSWORD" starts an account; the lines after
it are its stored configuration, one "kind:value" entry each: g: group,
b: buddy, d: blocked name, p: permitted name, m: permit/deny mode. Blank lines
and lines starting with "#" are skipped.

Choices of this server:
  - Chat exchanges 4 and 5 both create rooms on demand (a real server keeps a
    fixed list of exchange 5 rooms); other exchanges answer ERROR:950. Room ids
    are unique across the server and start at 1; an empty room is forgotten.
  - A second sign-on of a screen name closes the first connection.
  - toc_get_info answers GOTO_URL with the profile text where a real server
    puts the address of a web page.
  - toc2_new_buddies ("{g:GROUP\nb:NAME\n...}") adds buddies to the stored
    list under their group and answers NEW_BUDDY_REPLY2:NAME:added for each;
    with toc2_add_deny, toc2_remove_deny, toc_format_nickname and
    toc_change_passwd it changes the account until tocd ends. toc_set_config
    is accepted but, as on the real service, does not change what a TOC2
    sign-on receives.
  - Each toc_evil adds 10 to the warning level, up to 100.
  - Failed admin requests and bad nick forms answer ERROR:911; unknown commands
    and bad arguments ERROR:913.
  - A frame over 8192 bytes, a bad frame marker, bytes other than FLAPON first,
    an empty command or a command before sign-on closes that connection.

Limits, so that it can be left running for others:
  - A connection that lets more than %1 MiB of output wait unread is closed
    ("not reading"); the others keep their speed.
  - A connection that has not signed on %2 seconds after it opened is closed
    (--sign-on-timeout). Signed-on connections are never closed for being quiet.
  - Sign-on attempts, wrong passwords included, are limited per address: a
    burst of %3 (--login-limit), then one more each %4 seconds. The next attempt
    is answered ERROR:983 and closed, as on the real servers. The count starts
    afresh when tocd starts.
  - At most %5 connections from one address are open at once
    (--max-connections-per-address); a further one is closed at once.)";

void fail(const QString& message)
{
    std::fprintf(stderr, "tocd: %s\n", qPrintable(message));
    std::exit(2);
}

// Each connection takes a file descriptor. The usual soft limit (1024) would stop tocd accepting
// well before its per-address limits come into play, so it takes what the hard limit allows.
void raiseFileLimit()
{
#ifdef Q_OS_UNIX
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        setrlimit(RLIMIT_NOFILE, &files);
    }
#endif
}

// The value of a numeric option: a whole number from 0 up.
int count(const QCommandLineParser& parser, const QString& option)
{
    bool ok = false;
    const int n = parser.value(option).toInt(&ok);
    if (!ok || n < 0)
        fail(QStringLiteral("--%1 wants a whole number from 0 up, not \"%2\"").arg(option, parser.value(option)));
    return n;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tocd"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(TarnwickBuild::kVersion));

    const TocServer::Limits defaults;
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kHelp)
                                         .arg(defaults.maxUnsentBytes / (1024 * 1024))
                                         .arg(defaults.signOnTimeoutMs / 1000)
                                         .arg(defaults.loginBurst)
                                         .arg(defaults.loginRefillMs / 1000)
                                         .arg(defaults.maxConnectionsPerAddress));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {QStringLiteral("listen"), QStringLiteral("Address to listen on (default 127.0.0.1:5190; port 0 picks a free one)."),
         QStringLiteral("HOST:PORT"), QStringLiteral("127.0.0.1:5190")},
        {QStringLiteral("account"), QStringLiteral("An account; may be repeated."), QStringLiteral("NAME:PASSWORD")},
        {QStringLiteral("accounts"), QStringLiteral("Read accounts and their configuration from FILE."),
         QStringLiteral("FILE")},
        {QStringLiteral("quiet"), QStringLiteral("Log nothing on standard error.")},
        {QStringLiteral("login-limit"),
         QStringLiteral("Sign-on attempts one address may make in a burst (default %1; 0: no limit).")
             .arg(defaults.loginBurst),
         QStringLiteral("N"), QString::number(defaults.loginBurst)},
        {QStringLiteral("max-connections-per-address"),
         QStringLiteral("Connections one address may have open at once (default %1; 0: no limit).")
             .arg(defaults.maxConnectionsPerAddress),
         QStringLiteral("N"), QString::number(defaults.maxConnectionsPerAddress)},
        {QStringLiteral("sign-on-timeout"),
         QStringLiteral("Seconds a connection has to sign on before it is closed (default %1; 0: no limit).")
             .arg(defaults.signOnTimeoutMs / 1000),
         QStringLiteral("SECONDS"), QString::number(defaults.signOnTimeoutMs / 1000)},
    });
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        fail(QStringLiteral("unexpected argument \"%1\" (see --help)").arg(parser.positionalArguments().first()));

    Accounts accounts;
    for (const QString& option : parser.values(QStringLiteral("account")))
        if (const QString error = accounts.addFromOption(option.toUtf8()); !error.isEmpty())
            fail(error);
    if (parser.isSet(QStringLiteral("accounts")))
        if (const QString error = accounts.loadFile(parser.value(QStringLiteral("accounts"))); !error.isEmpty())
            fail(error);

    const QString listen = parser.value(QStringLiteral("listen"));
    const qsizetype colon = listen.lastIndexOf(QLatin1Char(':'));
    bool portOk = false;
    const uint port = colon < 0 ? 0 : listen.sliced(colon + 1).toUInt(&portOk);
    QString host = colon < 0 ? QString() : listen.first(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.sliced(1, host.size() - 2);
    const QHostAddress address(host);
    if (!portOk || port > 65535 || address.isNull())
        fail(QStringLiteral("--listen wants HOST:PORT with a numeric address, not \"%1\"").arg(listen));

    TocServer::Limits limits = defaults;
    limits.loginBurst = count(parser, QStringLiteral("login-limit"));
    limits.maxConnectionsPerAddress = count(parser, QStringLiteral("max-connections-per-address"));
    limits.signOnTimeoutMs = count(parser, QStringLiteral("sign-on-timeout")) * qint64(1000);

    std::function<void(const QString&)> logLine;
    if (!parser.isSet(QStringLiteral("quiet")))
        logLine = [](const QString& line) {
            std::fprintf(stderr, "tocd: %s\n", qPrintable(line));
            std::fflush(stderr);
        };
    raiseFileLimit();
    TcpFront front(std::move(accounts), logLine, limits);
    if (!front.listen(address, static_cast<quint16>(port)))
        fail(QStringLiteral("cannot listen on %1: %2").arg(listen, front.errorString()));

    const QString shown = front.address().protocol() == QAbstractSocket::IPv6Protocol
                              ? QStringLiteral("[%1]").arg(front.address().toString())
                              : front.address().toString();
    std::printf("listening on %s:%u\n", qPrintable(shown), front.port());
    std::fflush(stdout);
    return app.exec();
}
