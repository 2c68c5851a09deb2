// The picture viewer's state: the three text fields with their exact texts, the level and chain
// controls of a texture, zoom and its labels, the 5-pixel rule when dragging, the colours drawn
// for each alpha view, and what a failed load leaves.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "PixmillFixtures.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "pixels/ImageFiles.h"
#include "pixels/TgaFile.h"
#include "pixmill/DialogRules.h"
#include "pixmill/PictureViewer.h"

namespace slipway::pixmill {
namespace {

constexpr CanvasSize kCanvas{400, 300};

class PictureViewerTest : public testing::Test {
  protected:
    void show(const std::string& path) {
        viewer.show(openImageFile(path), PreviewView::Blended, kCanvas);
    }
    test::TempDir dir;
    ScriptedPrompt prompt;
    PictureViewer viewer{prompt};
};

TEST_F(PictureViewerTest, StartsWithItsPlaceholderTexts) {
    EXPECT_EQ(viewer.pathText(), "File path");
    EXPECT_EQ(viewer.infoText(), "Picture info");
    EXPECT_EQ(viewer.surfaceText(), "Pixmill v 1.4 preAplpha  `;o)");
    EXPECT_EQ(viewer.zoomText(), "1.0 : 1.0");
    EXPECT_EQ(viewer.levelText(), "mip 1");
    EXPECT_FALSE(viewer.levelVisible());
    EXPECT_FALSE(viewer.chainButtonsVisible());
    EXPECT_EQ(viewer.background(), 0xC0C0C0u);
}

TEST_F(PictureViewerTest, PicturesAreDescribedWithTheirTrailingBlanks) {
    test::writeTgaPicture(dir.file("alpha.tga"), 256, 256, 32 | formatAlpha);
    show(dir.file("alpha.tga"));
    EXPECT_EQ(viewer.pathText(), dir.file("alpha.tga"));
    EXPECT_EQ(viewer.infoText(), "Size: 256x256; BPP: 32; Alpha channel");
    EXPECT_EQ(viewer.surfaceText(),
              "Current size: 256x256; Texture surface: texture bpp: 32, alpha: 8 bit ");
    EXPECT_FALSE(viewer.levelVisible());
    EXPECT_FALSE(viewer.chainButtonsVisible());
    // Centred in the canvas at 1 : 1.
    EXPECT_EQ(viewer.x(), (400 - 256) / 2);
    EXPECT_EQ(viewer.y(), (300 - 256) / 2);

    test::writeTgaPicture(dir.file("plain.tga"), 64, 32, 24);
    show(dir.file("plain.tga"));
    EXPECT_EQ(viewer.infoText(), "Size: 64x32; BPP: 24");
    EXPECT_EQ(viewer.surfaceText(), "Current size: 64x32; Texture surface: texture bpp: 24 ");
    EXPECT_TRUE(prompt.texts().empty());
}

TEST_F(PictureViewerTest, TextureShowsBothChainsAndItsLevels) {
    ConvertOptions options;
    options.chain16.mode = MipCountMode::NumberMips;
    options.chain16.slider = 4;
    options.chain8.mode = MipCountMode::NumberMips;
    options.chain8.slider = 3;
    test::writeTfTexture(dir.file("sail.tf"), 64, 32, 32 | formatAlpha, options);
    show(dir.file("sail.tf"));
    EXPECT_EQ(viewer.infoText(),
              "Size: 64x32; BPP: 16; Alpha channel; 16 bit mips: 4; "
              "8 bit mips: 3");
    EXPECT_EQ(viewer.surfaceText(),
              "Current size: 64x32; Texture surface: texture bpp: 15, alpha: 1 bit ");
    EXPECT_TRUE(viewer.chainButtonsVisible());
    EXPECT_TRUE(viewer.sixteenBitChecked());
    EXPECT_TRUE(viewer.levelVisible());
    EXPECT_EQ(viewer.levelMaximum(), 3);
    EXPECT_EQ(viewer.levelText(), "mip 0");

    viewer.selectLevel(2, PreviewView::Blended, kCanvas);
    EXPECT_EQ(viewer.levelText(), "mip 2");
    EXPECT_EQ(viewer.levelPosition(), 2) << "the slider stays on the level shown";
    EXPECT_EQ(viewer.surfaceText(),
              "Current size: 16x8; Texture surface: texture bpp: 15, alpha: 1 bit ");

    viewer.selectChain(false, PreviewView::Blended, kCanvas);
    EXPECT_FALSE(viewer.sixteenBitChecked());
    EXPECT_EQ(viewer.levelMaximum(), 2);
    EXPECT_EQ(viewer.levelPosition(), 0);
    EXPECT_EQ(viewer.levelText(), "mip 0");
    EXPECT_EQ(viewer.surfaceText(),
              "Current size: 64x32; Texture surface: texture bpp: 8, alpha: color key ");
    EXPECT_TRUE(prompt.texts().empty());
}

TEST_F(PictureViewerTest, FailedLoadsKeepThePictureAndDropTheHandler) {
    test::writeTgaPicture(dir.file("first.tga"), 32, 32, 24);
    show(dir.file("first.tga"));
    const std::vector<std::uint32_t> shown = viewer.screen();

    ConvertOptions only8;
    only8.chain16.enabled = false;
    test::writeTfTexture(dir.file("only8.tf"), 16, 16, 24, only8);
    test::writeBytes(dir.file("empty.tga"), {});
    show(dir.file("only8.tf"));
    show(dir.file("empty.tga"));
    EXPECT_THAT(prompt.texts(),
                testing::ElementsAre("Error loading file: " + dir.file("only8.tf"),
                                     "Error access file: " + dir.file("empty.tga")));
    EXPECT_EQ(viewer.pathText(), dir.file("first.tga"));
    EXPECT_EQ(viewer.screen(), shown);
    ASSERT_NE(viewer.current(), nullptr);
    EXPECT_EQ(viewer.current()->path, dir.file("first.tga"));

    // A reload that fails drops the handler and hides the texture controls.
    ConvertOptions options;
    test::writeTfTexture(dir.file("gone.tf"), 16, 16, 24, options);
    show(dir.file("gone.tf"));
    ASSERT_TRUE(viewer.levelVisible());
    std::remove(dir.file("gone.tf").c_str());
    prompt.reset();
    viewer.reload(PreviewView::Blended, kCanvas);
    EXPECT_THAT(prompt.texts(), testing::ElementsAre("Error loading file: " + dir.file("gone.tf")));
    EXPECT_EQ(viewer.current(), nullptr);
    EXPECT_FALSE(viewer.levelVisible());
    EXPECT_FALSE(viewer.chainButtonsVisible());
    EXPECT_FALSE(viewer.screen().empty());
}

TEST_F(PictureViewerTest, ZoomLabelsAndTheCentreKeptWhileZooming) {
    const std::pair<int, const char*> labels[] = {
        {1, "1.0 : 16.0"}, {8, "1.0 : 2.0"},  {12, "1.0 : 1.3"}, {16, "1.0 : 1.0"},
        {24, "1.5 : 1.0"}, {32, "2.0 : 1.0"}, {64, "4.0 : 1.0"}};
    for (const auto& [position, text] : labels)
        EXPECT_EQ(zoomLabel(position), text) << position;

    test::writeTgaPicture(dir.file("p.tga"), 100, 60, 24);
    show(dir.file("p.tga"));
    const double centreX = viewer.x() + 50, centreY = viewer.y() + 30;
    viewer.setZoomPosition(32);
    EXPECT_EQ(viewer.zoom(), 2.0);
    EXPECT_DOUBLE_EQ(viewer.x() + 100 * 2.0 / 2, centreX);
    EXPECT_DOUBLE_EQ(viewer.y() + 60 * 2.0 / 2, centreY);
    EXPECT_EQ(viewer.surfaceText(), "Current size: 200x120; Texture surface: texture bpp: 24 ");
    viewer.setZoomPosition(8);
    EXPECT_EQ(viewer.zoomText(), "1.0 : 2.0");
    EXPECT_EQ(viewer.surfaceText(), "Current size: 50x30; Texture surface: texture bpp: 24 ");
}

TEST_F(PictureViewerTest, DraggingKeepsFivePixelsOfThePictureInTheCanvas) {
    test::writeTgaPicture(dir.file("p.tga"), 100, 60, 24);
    show(dir.file("p.tga"));
    viewer.setZoomPosition(32);  // 200 x 120 on screen
    viewer.moveBy(10000, 10000);
    viewer.keepVisible(kCanvas);
    EXPECT_EQ(viewer.x(), 400 - 5);
    EXPECT_EQ(viewer.y(), 300 - 5);
    viewer.moveBy(-20000, -20000);
    viewer.keepVisible(kCanvas);
    EXPECT_EQ(viewer.x(), 5 - 200);
    EXPECT_EQ(viewer.y(), 5 - 120);
    viewer.moveBy(30, 40);  // inside the limits: no change
    viewer.keepVisible(kCanvas);
    EXPECT_EQ(viewer.x(), 5 - 200 + 30);
    EXPECT_EQ(viewer.y(), 5 - 120 + 40);
}

TEST_F(PictureViewerTest, AlphaIsBlendedOverTheBackgroundOrShownAloneOrIgnored) {
    PixelImage picture;
    ASSERT_TRUE(picture.create(3, 1, 32 | formatAlpha));
    picture.setPixel(0, 0, {10, 20, 30, 0});      // fully transparent
    picture.setPixel(1, 0, {200, 100, 50, 255});  // opaque
    picture.setPixel(2, 0, {0, 0, 255, 128});     // half red
    test::writeBytes(dir.file("a.tga"), encodeTga(picture));
    const std::uint32_t background = 0x204060;  // red 0x60, green 0x40, blue 0x20
    viewer.setBackground(background, PreviewView::Blended);

    struct Case {
        PreviewView view;
        std::uint32_t pixels[3];
    };
    const std::uint32_t half = 128 / 255.0 * 255 + 0x60 * (1 - 128 / 255.0);
    const Case cases[] = {
        {PreviewView::Blended,
         {0xFF604020, 0xFF3264C8,
          0xFF000000u | (half << 16) | (std::uint32_t(0x40 * (1 - 128 / 255.0)) << 8) |
              std::uint32_t(0x20 * (1 - 128 / 255.0))}},
        {PreviewView::Alpha, {0xFF000000, 0xFFFFFFFF, 0xFF808080}},
        {PreviewView::Colour, {0xFF1E140A, 0xFF3264C8, 0xFFFF0000}},
    };
    for (const Case& c : cases) {
        viewer.show(openImageFile(dir.file("a.tga")), c.view, kCanvas);
        EXPECT_THAT(viewer.screen(), testing::ElementsAreArray(c.pixels)) << int(c.view);
    }
    EXPECT_EQ(previewViewFor(true, true), PreviewView::Colour);
    EXPECT_EQ(previewViewFor(false, true), PreviewView::Alpha);
    EXPECT_EQ(previewViewFor(false, false), PreviewView::Blended);

    // A picture without alpha shows its colours in every view.
    PixelImage opaque;
    ASSERT_TRUE(opaque.create(1, 1, 24));
    opaque.setPixel(0, 0, {1, 2, 3, 255});
    test::writeBytes(dir.file("o.tga"), encodeTga(opaque));
    viewer.show(openImageFile(dir.file("o.tga")), PreviewView::Alpha, kCanvas);
    EXPECT_THAT(viewer.screen(), testing::ElementsAre(0xFF030201u));
}

TEST(ColourField, FollowsItsFormula) {
    // t = ((2x & 31) * 2y) >> 5; red = t from 2x >= 128, green with bit 64, blue with bit 32.
    EXPECT_EQ(colourFieldColour(0, 0), 0xFFFFFFu);
    EXPECT_EQ(colourFieldColour(127, 127), 0xEEEEEEu);  // t = (30 * 254) >> 5 = 238
    const int t = ((132 & 31) * 2 * 10) >> 5;  // x = 66: 2x = 132: red t, green and blue 255 - t
    EXPECT_EQ(colourFieldColour(66, 10),
              std::uint32_t(t) | (std::uint32_t(255 - t) << 8) | (std::uint32_t(255 - t) << 16));
    const int u = ((98 & 31) * 2 * 100) >> 5;  // x = 49: 2x = 98: green (64) and blue (32) t
    EXPECT_EQ(colourFieldColour(49, 100),
              std::uint32_t(255 - u) | (std::uint32_t(u) << 8) | (std::uint32_t(u) << 16));
}

TEST(DialogRules, LabelsAndRanges) {
    EXPECT_EQ(mipsLabel(MipCountMode::MinimumSize, 4), "16 pix");
    EXPECT_EQ(mipsLabel(MipCountMode::MinimumSize, 0), "1 pix");
    EXPECT_EQ(mipsLabel(MipCountMode::NumberMips, 7), "mips 7");
    EXPECT_EQ(mipsSliderRange(MipCountMode::NumberMips).maximum, 16);
    EXPECT_EQ(mipsSliderRange(MipCountMode::MinimumSize).position, 4);
    EXPECT_EQ(attenuationLabel(0), "1.0");
    EXPECT_EQ(attenuationLabel(9), "0.1");
    EXPECT_EQ(attenuationLabel(3), "0.7");
    EXPECT_EQ(exportLevelRange(5).maximum, 4);
    EXPECT_EQ(exportLevelRange(0).maximum, 0);
}

}  // namespace
}  // namespace slipway::pixmill
