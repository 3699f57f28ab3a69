// One full repaint of the main window's Connect button (73 × 25, rectangle, style 7) next to Qt
// rendering a stock QPushButton of the same size and caption into an image, in the same run.
#include "Button.h"
#include "Fonts.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPushButton>

namespace {

constexpr QSize kSize(73, 25);

QFont designFont()
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(8.25);
    return font;
}

void BM_PaintButton(benchmark::State& state)
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
    button.resize(kSize);
    for (auto _ : state) {
        button.PaintButton();
        benchmark::DoNotOptimize(button.face().constBits());
    }
}
BENCHMARK(BM_PaintButton);

void BM_QPushButtonRender(benchmark::State& state)
{
    QPushButton button(QStringLiteral("Connect"));
    button.setFont(designFont());
    button.resize(kSize);
    QImage image(kSize, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        button.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_QPushButtonRender);

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
