// The button's full repaint next to Qt rendering a stock QPushButton of the same size into an image,
// in the same run: the main window's Connect button (73 × 25, rectangle, style 7), then every shape
// in styles 1, 6 and 7 (73 × 25 for the two rectangles, 32 × 32 for the shapes drawn in a square),
// each repainted in one look, then in a new look at every paint, then at a new size at every paint.
#include "Button.h"
#include "Fonts.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMetaEnum>
#include <QPushButton>

namespace {

QFont designFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(8.25);
    return font;
}

void repaintLoop(benchmark::State& state, Button& button)
{
    for (auto _ : state) {
        button.PaintButton();
        benchmark::DoNotOptimize(button.face().constBits());
    }
}

void BM_PaintConnectButton(benchmark::State& state)
{
    Button button;
    button.setUserMode(false);
    button.initNew();
    button.setButtonStyle(7);
    button.setBackColor(0xD8D8D8);
    button.setBackColorPressed(0xEFCE92);
    button.setBackColorHover(0xF7DBA5);
    button.setForeColorPressed(0xFFFFFF);
    button.setForeColorHover(0xFFFFFF);
    button.setFont(designFont());
    button.setCaption(QStringLiteral("Connect"));
    button.resize(73, 25);
    repaintLoop(state, button);
}
BENCHMARK(BM_PaintConnectButton);

void BM_QPushButtonConnect(benchmark::State& state)
{
    QPushButton button(QStringLiteral("Connect"));
    button.setFont(designFont());
    button.resize(73, 25);
    QImage image(button.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        button.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_QPushButtonConnect);

// A "Go" button of the shape and style the benchmark's arguments name: 73 × 25 for the two
// rectangles, 32 × 32 for the shapes drawn in a square.
void setUpShape(Button& button, benchmark::State& state)
{
    const auto shape = static_cast<Button::Shape>(state.range(0));
    button.setUserMode(false);
    button.initNew();
    button.setButtonShape(shape);
    button.setButtonStyle(static_cast<qint32>(state.range(1)));
    button.setCaption(QStringLiteral("Go"));
    button.resize(shape <= Button::RoundedRectangle ? QSize(73, 25) : QSize(32, 32));
    state.SetLabel(QMetaEnum::fromType<Button::Shape>().valueToKey(shape));
}

void BM_PaintButtonShape(benchmark::State& state)
{
    Button button;
    setUpShape(button, state);
    repaintLoop(state, button);
}
BENCHMARK(BM_PaintButtonShape)
    ->ArgNames({"shape", "style"})
    ->ArgsProduct({benchmark::CreateDenseRange(0, 11, 1), {1, 6, 7}});

// Runs change once per iteration; the time per paint it causes is the "per_paint" counter.
template <typename Change>
void paintLoop(benchmark::State& state, Button& button, Change change)
{
    int paints = 0;
    for (auto _ : state) {
        const int before = button.paintCount();
        change();
        paints += button.paintCount() - before;
    }
    state.counters["per_paint"] = benchmark::Counter(paints, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// A paint in a look not drawn before: 16 looks (pressed, hover, focus, enabled) in turn, each paint in
// another one.
void BM_PaintButtonNewLook(benchmark::State& state)
{
    Button button;
    setUpShape(button, state);
    int look = 0;
    paintLoop(state, button, [&] {
        if (const bool enabled = !(look & 8); button.isEnabled() != enabled)
            button.setEnabled(enabled);
        button.setStateFlags(look & 1, bool(look & 2), look & 4);
        look = (look + 1) % 16;
    });
}
BENCHMARK(BM_PaintButtonNewLook)
    ->ArgNames({"shape", "style"})
    ->ArgsProduct({benchmark::CreateDenseRange(0, 11, 1), {1, 6, 7}});

// The first paint at a size: the shape's region is worked out and its curves are drawn line by line
// (twelve sizes in turn, a pixel apart, more than a button keeps).
void BM_PaintButtonNewSize(benchmark::State& state)
{
    Button button;
    setUpShape(button, state);
    const QSize base = button.size();
    int step = 0;
    paintLoop(state, button, [&] {
        step = (step + 1) % 12;
        // A hidden widget gets its resize event when shown: the paint is asked for here.
        button.resize(base + QSize(step, button.ButtonShape() <= Button::RoundedRectangle ? 0 : step));
        button.PaintButton();
    });
}
BENCHMARK(BM_PaintButtonNewSize)->ArgNames({"shape", "style"})->ArgsProduct({{0, 1, 2, 3, 8}, {1, 7}});

void BM_QPushButtonRenderSize(benchmark::State& state)
{
    const QSize size(int(state.range(0)), int(state.range(1)));
    QPushButton button(QStringLiteral("Go"));
    button.resize(size);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        button.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_QPushButtonRenderSize)->ArgNames({"w", "h"})->Args({73, 25})->Args({32, 32});

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    ensureTahoma();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
