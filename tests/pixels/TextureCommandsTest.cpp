#include <gtest/gtest.h>

#include <filesystem>

#include "PixelTestSupport.h"
#include "TempDir.h"
#include "TestFiles.h"
#include "pixels/TextureCommands.h"
#include "pixels/TfFile.h"
#include "pixels/TgaFile.h"

namespace slipway {
namespace {

using test::Pattern;

// Writes a TGA holding the pattern in `format` (16 = a 1:5:5:5 picture stored with depth 16).
void writeTgaFixture(const std::string& path, Pattern pattern, std::uint32_t width,
                     std::uint32_t height, std::uint32_t seed, std::uint32_t format) {
    const bool depth16 = (format & kBitsPerPixelMask) == 16;
    const PixelImage picture =
        test::makePicture(pattern, width, height, seed, depth16 ? 15 : format);
    std::vector<std::uint8_t> bytes = encodeTga(picture);
    if (depth16)
        bytes[16] = 16;
    test::writeBytes(path, bytes);
}

reference::Settings toReference(const ConvertOptions& o) {
    reference::Settings s;
    for (auto [from, to] : {std::pair{&o.chain16, &s.chain16}, std::pair{&o.chain8, &s.chain8}}) {
        to->enabled = from->enabled;
        to->numberMips = from->mode == MipCountMode::NumberMips;
        to->slider = from->slider;
    }
    s.fourBitAlpha = o.fourBitAlpha;
    s.attenuationPosition = o.attenuationPosition;
    s.verticalCopy = o.verticalCopy;
    s.horizontalCopy = o.horizontalCopy;
    return s;
}

// Converts `tgaPath` with the product and with the reference and expects identical TF bytes
// and identical messages.
void expectSameAsReference(const std::string& tgaPath, const ConvertOptions& options,
                           const std::string& what) {
    TgaFile tga(tgaPath);
    ASSERT_TRUE(tga.readInfo() && tga.loadPicture()) << what;
    std::vector<std::string> expectedMessages;
    const std::vector<std::uint8_t> expected = reference::convertToTf(
        test::toReference(tga.picture), toReference(options), tgaPath, &expectedMessages);

    const std::string out = tgaPath + ".tf";
    ScriptedPrompt prompt;
    CommandContext context{prompt};
    EXPECT_EQ(convertTgaToTf(tgaPath, out, options, context), FileOutcome::Done) << what;
    EXPECT_EQ(prompt.texts(), expectedMessages) << what;
    const std::vector<std::uint8_t> actual = test::readBytes(out);
    ASSERT_EQ(actual.size(), expected.size()) << what;
    EXPECT_TRUE(actual == expected) << what;
}

TEST(TextureConversion, MatchesTheReferenceForEverySourceKind) {
    test::TempDir dir;
    const std::pair<std::uint32_t, std::uint32_t> sizes[] = {{16, 16}, {8, 4},   {5, 3},
                                                             {1, 1},   {33, 17}, {2, 32}};
    const std::uint32_t formats[] = {32 | formatAlpha, 24, 16, 8};
    std::uint32_t seed = 1;
    for (auto [w, h] : sizes) {
        for (std::uint32_t format : formats) {
            for (Pattern pattern : test::kAllPatterns) {
                const std::string path = dir.file("in.tga");
                writeTgaFixture(path, pattern, w, h, ++seed, format);
                expectSameAsReference(path, ConvertOptions{},
                                      std::to_string(w) + "x" + std::to_string(h) + " format " +
                                          std::to_string(format) + " " +
                                          test::patternName(pattern));
            }
        }
    }
}

TEST(TextureConversion, MatchesTheReferenceForEveryOption) {
    struct Variant {
        const char* name;
        void (*apply)(ConvertOptions&);
    } const variants[] = {
        {"no 16", [](ConvertOptions& o) { o.chain16.enabled = false; }},
        {"no 8", [](ConvertOptions& o) { o.chain8.enabled = false; }},
        {"4-bit alpha, attenuation 0.5",
         [](ConvertOptions& o) {
             o.fourBitAlpha = true;
             o.attenuationPosition = 5;
         }},
        {"1-bit alpha, attenuation 0.1", [](ConvertOptions& o) { o.attenuationPosition = 9; }},
        {"number mips 3 and 16",
         [](ConvertOptions& o) {
             o.chain16.mode = MipCountMode::NumberMips;
             o.chain16.slider = 3;
             o.chain8.mode = MipCountMode::NumberMips;
             o.chain8.slider = 16;
         }},
        {"minimum size 1 and 2",
         [](ConvertOptions& o) {
             o.chain16.slider = 0;
             o.chain8.slider = 1;
         }},
        {"copy up->down, right->left",
         [](ConvertOptions& o) {
             o.verticalCopy = 1;
             o.horizontalCopy = 2;
         }},
        {"copy down->up, left->right",
         [](ConvertOptions& o) {
             o.verticalCopy = 2;
             o.horizontalCopy = 1;
             o.fourBitAlpha = true;
         }},
    };
    test::TempDir dir;
    for (const Variant& v : variants) {
        for (std::uint32_t format : {32u | formatAlpha, 24u}) {
            for (Pattern pattern : {Pattern::Gradient, Pattern::Blocks}) {
                const std::string path = dir.file("in.tga");
                writeTgaFixture(path, pattern, 32, 16, format, format);
                ConvertOptions options;
                v.apply(options);
                expectSameAsReference(path, options,
                                      std::string(v.name) + " format " + std::to_string(format) +
                                          " " + test::patternName(pattern));
            }
        }
    }
}

TEST(TextureConversion, WritesTheChainsTheOptionsAskFor) {
    test::TempDir dir;
    const std::string in = dir.file("Sail.tga");
    writeTgaFixture(in, Pattern::Gradient, 300 / 4, 200 / 4, 3, 32 | formatAlpha);
    struct Case {
        bool fourBitAlpha, chain16;
        std::uint8_t code, count16, count8;
    } const cases[] = {{false, true, 1, 3, 3}, {true, true, 2, 3, 3}, {true, false, 0, 0, 3}};
    for (const Case& c : cases) {
        ConvertOptions options;
        options.fourBitAlpha = c.fourBitAlpha;
        options.chain16.enabled = c.chain16;
        ScriptedPrompt prompt;
        CommandContext context{prompt};
        const std::string out = outputPathFor(dir.path(), in, "tf");
        ASSERT_EQ(convertTgaToTf(in, out, options, context), FileOutcome::Done);
        // 75 x 50 is brought to 128 x 64 first, with a warning.
        EXPECT_EQ(prompt.texts(), std::vector<std::string>{"Texture " + in + " have error size"});
        TfFile tf(out);
        ASSERT_TRUE(tf.readInfo());
        const auto bytes = test::readBytes(out);
        EXPECT_EQ(bytes[5], c.code);
        EXPECT_EQ(tf.count16, c.count16);
        EXPECT_EQ(tf.count8, c.count8);
        EXPECT_EQ(tf.width, 128u);
        EXPECT_EQ(tf.height, 64u);
    }
}

TEST(TextureConversion, ReportsUnreadableSourcesAndWriteFailures) {
    test::TempDir dir;
    const std::string missing = dir.file("missing.tga");
    const std::string truncated = dir.file("short.tga");
    writeTgaFixture(truncated, Pattern::Noise, 8, 8, 1, 24);
    auto bytes = test::readBytes(truncated);
    bytes.resize(40);
    test::writeBytes(truncated, bytes);
    const std::string good = dir.file("good.tga");
    writeTgaFixture(good, Pattern::Noise, 8, 8, 1, 24);
    const std::string noFolder = dir.file("nowhere/good.tf");

    struct Case {
        std::string source, output, message;
    } const cases[] = {
        {missing, dir.file("missing.tf"), "Error: no open file " + missing},
        {truncated, dir.file("short.tf"), "Error: load data from file " + truncated},
        {good, noFolder, "Error save file " + noFolder},
    };
    for (const Case& c : cases) {
        ScriptedPrompt prompt;
        CommandContext context{prompt};
        EXPECT_EQ(convertTgaToTf(c.source, c.output, ConvertOptions{}, context),
                  FileOutcome::Failed);
        EXPECT_EQ(prompt.texts(), std::vector<std::string>{c.message});
        EXPECT_FALSE(std::filesystem::exists(c.output));
    }
}

TEST(TextureConversion, EscapeOffersToInterrupt) {
    test::TempDir dir;
    const std::string in = dir.file("a.tga");
    writeTgaFixture(in, Pattern::Noise, 16, 16, 1, 24);
    FixedKeyState keys;
    keys.held.insert(Key::Escape);

    ScriptedPrompt yes;
    yes.plan(PromptAnswer::Yes);
    CommandContext interrupting{yes, &keys};
    EXPECT_EQ(convertTgaToTf(in, dir.file("a.tf"), ConvertOptions{}, interrupting),
              FileOutcome::Interrupted);
    EXPECT_EQ(yes.texts(), std::vector<std::string>{"Interrupt convert action?"});
    EXPECT_FALSE(std::filesystem::exists(dir.file("a.tf")));

    // Answering No every time finishes the file.
    ScriptedPrompt no;
    for (int i = 0; i < 64; ++i)
        no.plan(PromptAnswer::No);
    std::vector<std::string> titles;
    CommandContext declining{no, &keys, [&](const std::string& t) { titles.push_back(t); }};
    EXPECT_EQ(convertTgaToTf(in, dir.file("a.tf"), ConvertOptions{}, declining), FileOutcome::Done);
    EXPECT_TRUE(std::filesystem::exists(dir.file("a.tf")));
    EXPECT_EQ(titles, (std::vector<std::string>{
                          in + "  :  Creating 32 bit mip levels",
                          in + "  :  Creating 16 bit mip levels", in + "  :  Creating pallitte",
                          in + "  :  Creating 8 bit mip levels", in + "  :  Save", "Pixmill"}));
}

// Answers No the way a user does from the keyboard: with Esc, which the key state sees too.
class EscapeAnswersNo : public UserPrompt {
  public:
    explicit EscapeAnswersNo(FixedKeyState& keys) : keys_(keys) {}
    PromptAnswer show(std::string_view text, PromptButtons) override {
        texts.emplace_back(text);
        keys_.pressed.insert(Key::Escape);
        return PromptAnswer::No;
    }
    std::vector<std::string> texts;

  private:
    FixedKeyState& keys_;
};

TEST(TextureConversion, EscapePressedAndLetGoBetweenChecksOffersToInterruptOnce) {
    test::TempDir dir;
    const std::string in = dir.file("a.tga");
    const std::string out = dir.file("a.tf");
    writeTgaFixture(in, Pattern::Noise, 16, 16, 1, 24);
    const std::vector<std::string> oneQuestion{"Interrupt convert action?"};

    FixedKeyState keys;
    ScriptedPrompt quiet;
    CommandContext untouched{quiet, &keys};
    EXPECT_EQ(convertTgaToTf(in, out, ConvertOptions{}, untouched), FileOutcome::Done);
    EXPECT_TRUE(quiet.texts().empty());

    keys.pressed.insert(Key::Escape);
    ScriptedPrompt yes;
    yes.plan(PromptAnswer::Yes);
    CommandContext interrupting{yes, &keys};
    std::filesystem::remove(out);
    EXPECT_EQ(convertTgaToTf(in, out, ConvertOptions{}, interrupting), FileOutcome::Interrupted);
    EXPECT_EQ(yes.texts(), oneQuestion);
    EXPECT_FALSE(std::filesystem::exists(out));

    // One press is one question, also when the Esc key answers it.
    keys.pressed.insert(Key::Escape);
    ScriptedPrompt no;
    no.plan(PromptAnswer::No);
    CommandContext declining{no, &keys};
    EXPECT_EQ(convertTgaToTf(in, out, ConvertOptions{}, declining), FileOutcome::Done);
    EXPECT_EQ(no.texts(), oneQuestion);

    keys.pressed.insert(Key::Escape);
    EscapeAnswersNo byKey(keys);
    CommandContext answeredByKey{byKey, &keys};
    EXPECT_EQ(convertTgaToTf(in, out, ConvertOptions{}, answeredByKey), FileOutcome::Done);
    EXPECT_EQ(byKey.texts, oneQuestion);
    EXPECT_TRUE(std::filesystem::exists(out));
}

TEST(TextureConversion, OutputPathsReplaceTheLastExtension) {
    EXPECT_EQ(outputPathFor("/out", "/in/Sail.tga", "tf"), "/out/Sail.tf");
    EXPECT_EQ(outputPathFor("/out/", "a.b.tga", "tf"), "/out/a.b.tf");
    EXPECT_EQ(outputPathFor("", "/in/Sail.tga", "tf"), "/in/Sail.tf");
    EXPECT_EQ(outputPathFor("", "Sail.tf", "tga"), "Sail.tga");
    EXPECT_EQ(outputPathFor("/out", "/in/plain", "tf"), "/out/plain.tf");
}

// A texture to export from: 16 x 8, both chains with 2 levels each, 1:5:5:5 with alpha.
std::string makeTexture(const test::TempDir& dir, const char* name, bool chain16 = true) {
    const std::string tga = dir.file(std::string(name) + ".tga");
    writeTgaFixture(tga, Pattern::FewColours, 16, 8, 5, 32 | formatAlpha);
    ConvertOptions options;
    options.chain16.enabled = chain16;
    options.chain16.mode = options.chain8.mode = MipCountMode::NumberMips;
    options.chain16.slider = options.chain8.slider = 2;
    ScriptedPrompt prompt;
    CommandContext context{prompt};
    const std::string tf = dir.file(std::string(name) + ".tf");
    EXPECT_EQ(convertTgaToTf(tga, tf, options, context), FileOutcome::Done);
    return tf;
}

struct ExportResult {
    FileOutcome outcome;
    std::vector<std::string> messages;
    std::vector<std::uint8_t> bytes;
};

ExportResult exportLevel(const std::string& tf, const std::string& out, ExportOptions options) {
    ScriptedPrompt prompt;
    CommandContext context{prompt};
    ExportResult r;
    r.outcome = exportTfToTga(tf, out, options, context);
    r.messages = prompt.texts();
    if (std::filesystem::exists(out))
        r.bytes = test::readBytes(out);
    return r;
}

TEST(TextureExport, WritesTheChosenLevelAtTheChosenDepth) {
    test::TempDir dir;
    const std::string tf = makeTexture(dir, "t");
    struct Case {
        int chain, level, depth;
        std::uint16_t width;
        std::uint8_t pixelDepth;
        std::size_t size;
    } const cases[] = {
        {16, 0, 32, 16, 32, 18 + 16 * 8 * 4},
        {16, 3, 32, 8, 32, 18 + 8 * 4 * 4},  // only 2 levels: level 1
        {16, 0, 16, 16, 15, 18 + 16 * 8 * 2},
        {16, 1, 24, 8, 24, 18 + 8 * 4 * 3},
        {8, 0, 8, 16, 8, 18 + 768 + 16 * 8},
        {0, 0, 32, 16, 32, 18 + 16 * 8 * 4},
    };
    for (const Case& c : cases) {
        const std::string out = dir.file("out.tga");
        std::filesystem::remove(out);
        const ExportResult r = exportLevel(tf, out, {c.chain, c.level, c.depth});
        ASSERT_EQ(r.outcome, FileOutcome::Done) << c.chain << " " << c.level << " " << c.depth;
        EXPECT_TRUE(r.messages.empty());
        ASSERT_EQ(r.bytes.size(), c.size);
        EXPECT_EQ(r.bytes[12] | r.bytes[13] << 8, c.width);
        EXPECT_EQ(r.bytes[16], c.pixelDepth);
    }
}

TEST(TextureExport, MissingChainOrFileFailsWithItsMessage) {
    test::TempDir dir;
    const std::string tf = makeTexture(dir, "only8", /*chain16=*/false);
    const std::string out = dir.file("out.tga");
    ExportResult r = exportLevel(tf, out, {16, 0, 32});
    EXPECT_EQ(r.outcome, FileOutcome::Failed);
    EXPECT_EQ(r.messages, std::vector<std::string>{"Error open file: " + tf});
    // Automatic choice takes the 8-bit chain of such a file.
    r = exportLevel(tf, out, {0, 0, 32});
    EXPECT_EQ(r.outcome, FileOutcome::Done);

    const std::string missing = dir.file("missing.tf");
    r = exportLevel(missing, out, {16, 0, 32});
    EXPECT_EQ(r.messages, std::vector<std::string>{"Error open file: " + missing});
}

// The 16-bit chain exported as a colour-mapped picture gets a palette of its own colours
// instead of an all-black one: a one-colour texture comes back exactly.
TEST(TextureExport, SixteenBitChainAtDepthEightGetsARealPalette) {
    test::TempDir dir;
    // A colour that 1:5:5:5 holds exactly, so the 16-bit level is one colour too.
    PixelImage flat;
    flat.create(16, 8, 32 | formatAlpha);
    for (std::uint32_t i = 0; i < 16 * 8; ++i)
        flat.setPixel(i % 16, i / 16, Bgra{80, 160, 240, 255});
    test::writeBytes(dir.file("t.tga"), encodeTga(flat));
    ScriptedPrompt prompt;
    CommandContext context{prompt};
    const std::string tf = dir.file("t.tf");
    ASSERT_EQ(convertTgaToTf(dir.file("t.tga"), tf, ConvertOptions{}, context), FileOutcome::Done);
    const std::string out = dir.file("out.tga");
    const ExportResult r = exportLevel(tf, out, {16, 0, 8});
    ASSERT_EQ(r.outcome, FileOutcome::Done);

    TfFile source(tf);
    ASSERT_TRUE(source.readInfo() && source.loadPicture());
    TgaFile exported(out);
    ASSERT_TRUE(exported.readInfo() && exported.loadPicture());
    ASSERT_EQ(exported.picture.bitsPerPixel(), 8u);
    const Bgra colour = source.picture.getPixel(0, 0);
    ASSERT_NE(colour, (Bgra{0, 0, 0, 255}));
    for (std::uint32_t y = 0; y < 8; ++y) {
        for (std::uint32_t x = 0; x < 16; ++x) {
            ASSERT_EQ(exported.picture.getPixel(x, y), colour) << x << "," << y;
        }
    }
}

TEST(TextureExport, AsksBeforeOverwritingUnlessToldNotTo) {
    test::TempDir dir;
    const std::string tf = makeTexture(dir, "t");
    const std::string out = dir.file("out.tga");
    test::writeText(out, "old");
    ScriptedPrompt prompt;
    prompt.plan(PromptAnswer::No);
    CommandContext context{prompt};
    EXPECT_EQ(exportTfToTga(tf, out, {16, 0, 32}, context), FileOutcome::Done);
    EXPECT_EQ(prompt.texts(), std::vector<std::string>{"Overwrite file " + out});
    EXPECT_EQ(test::readText(out), "old");

    ExportOptions quiet{16, 0, 32};
    quiet.askBeforeOverwrite = false;
    ScriptedPrompt silent;
    CommandContext silentContext{silent};
    EXPECT_EQ(exportTfToTga(tf, out, quiet, silentContext), FileOutcome::Done);
    EXPECT_TRUE(silent.texts().empty());
    EXPECT_EQ(test::readBytes(out).size(), 18u + 16 * 8 * 4);
}

}  // namespace
}  // namespace slipway
