// TF textures written by the project's own writer, read back through Qt's image I/O: the
// plugin is found on QT_PLUGIN_PATH like any Qt program would find it.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "TempDir.h"
#include "TestFiles.h"
#include "pixels/PictureFixtures.h"
#include "pixels/TfFile.h"

namespace slipway {
namespace {

struct Texture {
    std::array<PixelImage, 3> levels16;
    std::array<PixelImage, 3> levels8;
    std::uint32_t count16 = 0;

    std::vector<std::uint8_t> bytes() const {
        return encodeTf(levels16.data(), count16, levels8.data(), 3);
    }
    const PixelImage& shown() const { return count16 > 0 ? levels16[0] : levels8[0]; }
};

// Three levels of each chain from 16 x 8; format16 0 gives no 16-bit chain.
Texture makeTexture(std::uint32_t format16, bool key, std::uint32_t seed = 1) {
    Texture t;
    t.count16 = format16 != 0 ? 3 : 0;
    for (std::uint32_t i = 0; i < 3; ++i) {
        if (format16 != 0)
            t.levels16[i] = test::randomPicture(16 >> i, 8 >> i, format16, seed + i);
        t.levels8[i] = test::randomPicture(16 >> i, 8 >> i, 8 | (key ? formatAlpha : 0),
                                           seed + 10 + i, test::randomPalette(seed));
    }
    return t;
}

QByteArray asQt(const std::vector<std::uint8_t>& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

// A device Qt cannot seek or measure, as a pipe or a socket, holding `data`.
class PipeDevice : public QIODevice {
  public:
    explicit PipeDevice(QByteArray data) : data_(std::move(data)) {}
    bool isSequential() const override { return true; }

  protected:
    qint64 readData(char* out, qint64 maxSize) override {
        const qint64 count = std::min(maxSize, data_.size() - at_);
        if (count <= 0)
            return -1;
        std::memcpy(out, data_.constData() + at_, static_cast<std::size_t>(count));
        at_ += count;
        return count;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

  private:
    QByteArray data_;
    qint64 at_ = 0;
};

TEST(TfImagePlugin, QtKnowsTheFormat) {
    EXPECT_TRUE(QImageReader::supportedImageFormats().contains("tf"));
    EXPECT_TRUE(QImageReader::supportedMimeTypes().contains("image/x-slipway-tf"));
}

// Level 0 of the 16-bit chain, else of the 8-bit chain, pixel for pixel as it was written;
// ARGB32 with alpha, RGB32 without.
TEST(TfImagePlugin, ReadsLevelZeroOfTheSixteenBitChainElseTheEightBitChain) {
    struct Case {
        const char* name;
        Texture texture;
        QImage::Format format;
    };
    const Case cases[] = {
        {"alpha1.tf", makeTexture(15 | formatAlpha, true), QImage::Format_ARGB32},
        {"alpha4.tf", makeTexture(12 | formatAlpha, true), QImage::Format_ARGB32},
        {"opaque.tf", makeTexture(16, false), QImage::Format_RGB32},
        {"palette8.tf", makeTexture(0, false), QImage::Format_RGB32},
    };
    test::TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file(c.name);
        test::writeBytes(path, c.texture.bytes());
        QImageReader reader(QString::fromStdString(path));
        EXPECT_EQ(reader.format(), "tf");
        EXPECT_EQ(reader.size(), QSize(16, 8));
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(image.format(), c.format);
        ASSERT_EQ(image.size(), QSize(16, 8));
        const PixelImage& level = c.texture.shown();
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 16; ++x) {
                const Bgra want = level.getPixel(x, y);
                const QRgb got = image.pixel(x, y);
                ASSERT_EQ(qRed(got), want.r) << x << "," << y;
                ASSERT_EQ(qGreen(got), want.g) << x << "," << y;
                ASSERT_EQ(qBlue(got), want.b) << x << "," << y;
                ASSERT_EQ(qAlpha(got), want.a) << x << "," << y;
            }
        }
    }
}

// Qt asks every plugin whether it knows a file without a known suffix: TF textures are
// recognised by their bytes, and the plugin claims nothing else.
TEST(TfImagePlugin, RecognisesTexturesByContentAndClaimsNothingElse) {
    test::TempDir dir;
    const std::vector<std::uint8_t> texture = makeTexture(16, false).bytes();
    test::writeBytes(dir.file("texture.bin"), texture);
    std::vector<std::uint8_t> leadNotZero = texture;
    leadNotZero[0] = 1;
    test::writeBytes(dir.file("odd.bin"), leadNotZero);
    test::writeBytes(dir.file("odd.tf"), leadNotZero);
    QImage png(4, 4, QImage::Format_ARGB32);
    png.fill(Qt::red);
    ASSERT_TRUE(png.save(QString::fromStdString(dir.file("picture.png"))));
    test::writeText(dir.file("main.bin"), "variable \"region\" {\n  default = \"x\"\n}\n");
    test::writeBytes(dir.file("zeros.bin"), std::vector<std::uint8_t>(64, 0));

    const std::pair<const char*, QByteArray> cases[] = {
        {"texture.bin", "tf"},  {"odd.bin", ""},  // the five zero bytes are what content detection
                                                  // goes by
        {"odd.tf", "tf"},  // named as a texture, it reads as the project's readers read it
        {"picture.png", "png"}, {"main.bin", ""}, {"zeros.bin", ""},
    };
    for (const auto& [name, format] : cases) {
        QImageReader reader(QString::fromStdString(dir.file(name)));
        EXPECT_EQ(reader.format(), format) << name;
        EXPECT_EQ(!reader.read().isNull(), !format.isEmpty()) << name;
    }
}

// Every prefix of a good file shorter than level 0 fails cleanly, from a file-like and from a
// sequential device; the rest of the file is not needed.
TEST(TfImagePlugin, EveryTruncationBeforeLevelZeroEndsFailsCleanly) {
    const std::vector<std::uint8_t> bytes = makeTexture(15 | formatAlpha, true).bytes();
    const std::size_t need = 16 + 16 * 8 * 2;
    for (const bool sequential : {false, true}) {
        for (std::size_t size = 0; size <= need; ++size) {
            const QByteArray data = asQt({bytes.begin(), bytes.begin() + size});
            QBuffer file(const_cast<QByteArray*>(&data));
            PipeDevice pipe(data);
            QIODevice& device = sequential ? static_cast<QIODevice&>(pipe) : file;
            ASSERT_TRUE(device.open(QIODevice::ReadOnly));
            QImageReader reader(&device, "tf");
            EXPECT_EQ(reader.read().isNull(), size < need) << size << " sequential " << sequential;
        }
    }
}

// A header promising a huge picture is refused before its pixels are allocated or read: by
// QImageReader's allocation limit, and without the limit by the file's own length.
TEST(TfImagePlugin, RefusesAHugeHeaderBeforeAllocating) {
    std::vector<std::uint8_t> bytes(16 + 64, 0);
    bytes[6] = 1;      // one 16-bit level
    bytes[9] = 0x80;   // width 32768
    bytes[13] = 0x80;  // height 32768
    const QByteArray data = asQt(bytes);
    const int limit = QImageReader::allocationLimit();
    for (const int megabytes : {limit, 0}) {
        QImageReader::setAllocationLimit(megabytes);
        QBuffer device;
        device.setData(data);
        ASSERT_TRUE(device.open(QIODevice::ReadOnly));
        QImageReader reader(&device, "tf");
        EXPECT_EQ(reader.size(), QSize(32768, 32768));
        EXPECT_TRUE(reader.read().isNull()) << megabytes;
    }
    QImageReader::setAllocationLimit(limit);
}

}  // namespace
}  // namespace slipway
