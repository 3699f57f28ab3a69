// button-gallery: renders buttons to PNG on the offscreen platform.
//   button-gallery --shape N --style N --size WxH --state STATE [--set Property=Value]... -o out.png
//   button-gallery --sheet out.png
//   button-gallery --batch DIR [--check MANIFEST]
#include "Fonts.h"
#include "Gallery.h"

#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <QTextStream>

namespace {

constexpr const char* kUsage =
    "usage: button-gallery --shape N --style N --size WxH --state normal|hover|pressed|focus|disabled|toggled\n"
    "                      [--set Property=Value]... -o out.png\n"
    "       button-gallery --sheet out.png\n"
    "       button-gallery --batch DIR [--check MANIFEST]\n";

int fail(const QString& message)
{
    QTextStream(stderr) << "button-gallery: " << message << "\n" << kUsage;
    return 2;
}

std::optional<int> parseInt(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    // Rendering needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt would take --style for itself: the application sees the program name only.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    int appArgc = 1;
    QApplication app(appArgc, argv);
    ensureTahoma();

    gallery::Request request;
    QString output;
    QString sheet;
    QString batch;
    QString check;
    for (int i = 0; i < args.size(); ++i) {
        const QString& option = args.at(i);
        if (i + 1 >= args.size())
            return fail(QStringLiteral("%1 needs a value").arg(option));
        const QString value = args.at(++i);
        if (option == QLatin1String("--shape") || option == QLatin1String("--style")) {
            const auto n = parseInt(value);
            if (!n)
                return fail(QStringLiteral("%1 takes a number, not \"%2\"").arg(option, value));
            (option == QLatin1String("--shape") ? request.shape : request.style) = *n;
        } else if (option == QLatin1String("--size")) {
            const auto m = QRegularExpression(QStringLiteral("^(\\d{1,4})x(\\d{1,4})$")).match(value);
            if (!m.hasMatch())
                return fail(QStringLiteral("--size takes WxH in pixels, not \"%1\"").arg(value));
            request.size = QSize(m.captured(1).toInt(), m.captured(2).toInt());
        } else if (option == QLatin1String("--state")) {
            const auto state = gallery::parseState(value);
            if (!state)
                return fail(QStringLiteral("unknown state \"%1\"").arg(value));
            request.state = *state;
        } else if (option == QLatin1String("--set")) {
            const qsizetype eq = value.indexOf(QLatin1Char('='));
            if (eq <= 0)
                return fail(QStringLiteral("--set takes Property=Value, not \"%1\"").arg(value));
            request.settings.emplace_back(value.left(eq), value.mid(eq + 1));
        } else if (option == QLatin1String("-o")) {
            output = value;
        } else if (option == QLatin1String("--sheet")) {
            sheet = value;
        } else if (option == QLatin1String("--batch")) {
            batch = value;
        } else if (option == QLatin1String("--check")) {
            check = value;
        } else {
            return fail(QStringLiteral("unknown option \"%1\"").arg(option));
        }
    }

    if (!batch.isEmpty()) {
        if (const QString error = gallery::renderBatch(batch); !error.isEmpty())
            return fail(error);
        if (check.isEmpty())
            return 0;
        const QStringList differences =
            gallery::compareManifests(check, QDir(batch).filePath(QLatin1String(gallery::kManifestName)));
        QTextStream err(stderr);
        for (const QString& line : differences)
            err << line << "\n";
        if (!differences.isEmpty())
            err << differences.size() << " differences from " << check << "; the pictures are in " << batch << "\n";
        return differences.isEmpty() ? 0 : 1;
    }
    if (!check.isEmpty())
        return fail(QStringLiteral("--check needs --batch"));
    if (!sheet.isEmpty()) {
        if (!gallery::contactSheet().save(sheet, "PNG"))
            return fail(QStringLiteral("cannot write \"%1\"").arg(sheet));
        return 0;
    }
    if (output.isEmpty())
        return fail(QStringLiteral("no output file (-o)"));
    QString error;
    const QImage image = gallery::render(request, &error);
    if (image.isNull())
        return fail(error);
    if (!image.save(output, "PNG"))
        return fail(QStringLiteral("cannot write \"%1\"").arg(output));
    return 0;
}
