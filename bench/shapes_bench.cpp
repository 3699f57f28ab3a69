// PaintButton for every shape in styles 1, 6 and 7, next to Qt rendering a stock QPushButton of
// the same size: 73 × 25 for the two rectangles, 32 × 32 for the shapes drawn in a square.
#include "Button.h"
#include "Fonts.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMetaEnum>
#include <QPushButton>

namespace {

QSize sizeFor(int shape)
{
    return shape <= Button::RoundedRectangle ? QSize(73, 25) : QSize(32, 32);
}

void BM_PaintButtonShape(benchmark::State& state)
{
    const auto shape = static_cast<Button::Shape>(state.range(0));
    Button button;
    button.setUserMode(false);
    button.initNew();
    button.setButtonShape(shape);
    button.setButtonStyle(static_cast<qint32>(state.range(1)));
    button.setCaption(QStringLiteral("Go"));
    button.resize(sizeFor(shape));
    for (auto _ : state) {
        button.PaintButton();
        benchmark::DoNotOptimize(button.face().constBits());
    }
    state.SetLabel(QMetaEnum::fromType<Button::Shape>().valueToKey(shape));
}
BENCHMARK(BM_PaintButtonShape)->ArgNames({"shape", "style"})->ArgsProduct({benchmark::CreateDenseRange(0, 11, 1), {1, 6, 7}});

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
