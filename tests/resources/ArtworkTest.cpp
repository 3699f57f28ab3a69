// The artwork is reachable through :/tarnwick/... by merely linking tarnwick_resources, in the kinds and sizes the
// window expects, and every format it uses is readable on this Qt installation.
#include "Artwork.h"
#include "printers.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QtEndian>

namespace {

// True when some pixel is neither fully opaque nor fully transparent (smooth edges need real alpha).
bool hasPartialAlpha(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x) {
            const int a = qAlpha(argb.pixel(x, y));
            if (a != 0 && a != 255)
                return true;
        }
    return false;
}

bool hasTransparency(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(argb.pixel(x, y)) == 0)
                return true;
    return false;
}

struct Picture {
    const char* path;
    QByteArray format;
    QSize size;
    bool transparent;
};

} // namespace

TEST(Artwork, EveryPictureLoadsWithItsFormatAndSize)
{
    const Picture pictures[] = {
        {Artwork::LogoPath, "bmp", {424, 74}, false},
        {Artwork::StatusPath, "gif", {14, 14}, true},
        {Artwork::ClientLogoPath, "jpeg", {219, 85}, false},
        {":/tarnwick/icon-16.png", "png", {16, 16}, true},
        {":/tarnwick/icon-32.png", "png", {32, 32}, true},
        {":/tarnwick/icon-48.png", "png", {48, 48}, true},
        {":/tarnwick/icon-128.png", "png", {128, 128}, true},
    };
    for (const Picture& p : pictures) {
        SCOPED_TRACE(p.path);
        QImageReader reader(QString::fromLatin1(p.path));
        reader.setDecideFormatFromContent(true); // the bytes must be what the name says
        EXPECT_EQ(reader.format(), p.format);
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(image.size(), p.size);
        EXPECT_EQ(hasTransparency(image), p.transparent);
    }
}

TEST(Artwork, LogoIsAPlainTwentyFourBitBitmap)
{
    QFile file(Artwork::LogoPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bmp = file.readAll();
    ASSERT_EQ(bmp.size(), 54 + 74 * 1272);
    const auto word = [&](int at) { return qFromLittleEndian<quint16>(bmp.constData() + at); };
    const auto dword = [&](int at) { return qFromLittleEndian<quint32>(bmp.constData() + at); };
    EXPECT_EQ(bmp.left(2), "BM");
    EXPECT_EQ(dword(2), 94182u);  // file size
    EXPECT_EQ(dword(10), 54u);    // pixels right after the two headers
    EXPECT_EQ(dword(14), 40u);    // BITMAPINFOHEADER, nothing newer
    EXPECT_EQ(dword(18), 424u);
    EXPECT_EQ(dword(22), 74u);    // positive: stored bottom-up
    EXPECT_EQ(word(28), 24);
    EXPECT_EQ(dword(30), 0u);     // uncompressed
}

TEST(Artwork, IconFileHoldsAlphaAndPaletteImages)
{
    QImageReader reader(QString::fromLatin1(Artwork::IconPath));
    ASSERT_TRUE(reader.canRead()) << "Qt's ico plugin is missing";
    struct Entry {
        int size;
        bool smoothAlpha;
    };
    const Entry expected[] = {{128, true}, {48, true}, {32, true}, {16, true}, {32, false}, {16, false}};
    ASSERT_EQ(reader.imageCount(), int(std::size(expected)));
    for (int i = 0; i < reader.imageCount(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(expected[i].size, expected[i].size));
        EXPECT_TRUE(hasTransparency(image));
        EXPECT_EQ(hasPartialAlpha(image), expected[i].smoothAlpha);
    }
}

TEST(Artwork, IconsOfferEverySize)
{
    const QList<QSize> sizes{{16, 16}, {32, 32}, {48, 48}, {128, 128}};
    const QIcon fromPngs = Artwork::appIcon();
    EXPECT_EQ(fromPngs.availableSizes(), sizes);
    const QIcon fromIco(QString::fromLatin1(Artwork::IconPath));
    for (const QSize& size : sizes)
        EXPECT_TRUE(fromIco.availableSizes().contains(size)) << size.width();

    // The tray docks icons at 22 pixels: a size between the stored ones must still come out whole.
    for (const QIcon& icon : {fromPngs, fromIco}) {
        const QImage tray = icon.pixmap(22).toImage();
        ASSERT_EQ(tray.size(), QSize(22, 22));
        EXPECT_TRUE(hasPartialAlpha(tray));
    }
}
