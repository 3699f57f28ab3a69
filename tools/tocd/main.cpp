// tocd: a small TOC2 server for tests and for running the program without the real service.
#include "TarnwickBuildConfig.h"
#include "TcpFront.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>

#include <cstdio>
#include <cstdlib>

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
    an empty command or a command before sign-on closes that connection.)";

void fail(const QString& message)
{
    std::fprintf(stderr, "tocd: %s\n", qPrintable(message));
    std::exit(2);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tocd"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(TarnwickBuild::kVersion));

    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kHelp));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {QStringLiteral("listen"), QStringLiteral("Address to listen on (default 127.0.0.1:5190; port 0 picks a free one)."),
         QStringLiteral("HOST:PORT"), QStringLiteral("127.0.0.1:5190")},
        {QStringLiteral("account"), QStringLiteral("An account; may be repeated."), QStringLiteral("NAME:PASSWORD")},
        {QStringLiteral("accounts"), QStringLiteral("Read accounts and their configuration from FILE."),
         QStringLiteral("FILE")},
        {QStringLiteral("quiet"), QStringLiteral("Log nothing on standard error.")},
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

    std::function<void(const QString&)> logLine;
    if (!parser.isSet(QStringLiteral("quiet")))
        logLine = [](const QString& line) {
            std::fprintf(stderr, "tocd: %s\n", qPrintable(line));
            std::fflush(stderr);
        };
    TcpFront front(std::move(accounts), logLine);
    if (!front.listen(address, static_cast<quint16>(port)))
        fail(QStringLiteral("cannot listen on %1: %2").arg(listen, front.errorString()));

    const QString shown = front.address().protocol() == QAbstractSocket::IPv6Protocol
                              ? QStringLiteral("[%1]").arg(front.address().toString())
                              : front.address().toString();
    std::printf("listening on %s:%u\n", qPrintable(shown), front.port());
    std::fflush(stdout);
    return app.exec();
}
