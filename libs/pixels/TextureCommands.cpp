#include "pixels/TextureCommands.h"

#include <algorithm>
#include <array>
#include <utility>

#include "base/Format.h"
#include "base/Paths.h"
#include "pixels/FileError.h"
#include "pixels/MipChain.h"
#include "pixels/PaletteBuilder.h"
#include "pixels/PaletteSearch.h"
#include "pixels/TfFile.h"
#include "pixels/TgaFile.h"

namespace slipway {
namespace {

constexpr const char* kNoMemoryToConvert = "Not aviable memory to convert picture from file\n";

// One step of a file's work, "path  :  step" in the title.
void step(CommandContext& context, const std::string& path, const char* text) {
    if (context.showTitle)
        context.showTitle(path + "  :  " + text);
    if (context.showStep)
        context.showStep(text);
}

// Tells a failure; the command line hears its cause too.
void tellFailure(CommandContext& context, const std::string& text, const std::string& cause) {
    if (context.explain && !cause.empty()) {
        tell(context.prompt, text + ": " + context.explain(cause));
    } else {
        tell(context.prompt, text);
    }
}

// True when the user asks to end the batch: Esc is held, or was pressed and let go since the
// previous check (a conversion step can take longer than a key press).
bool interrupted(CommandContext& context) {
    if (context.stopRequested != nullptr && context.stopRequested->load())
        return true;
    if (context.keys == nullptr)
        return false;
    KeyState& keys = *context.keys;
    const bool pressed = keys.wasPressed(Key::Escape);  // asked first, so the latch is cleared
    if (!pressed && !keys.isDown(Key::Escape))
        return false;
    const bool yes =
        context.prompt.show("Interrupt convert action?", PromptButtons::YesNo) == PromptAnswer::Yes;
    // An Esc that answered the question (it means No there) is not a new request.
    keys.wasPressed(Key::Escape);
    return yes;
}

}  // namespace

std::string outputPathFor(std::string_view folder, std::string_view sourcePath,
                          std::string_view extension) {
    std::string name = fileName(sourcePath);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) {
        name += '.';
    } else {
        name.resize(dot + 1);
    }
    name += extension;
    if (folder.empty())
        return directoryOf(sourcePath) + name;
    return joinPath(folder, name);
}

FileOutcome buildTextureChains(PixelImage& source, const std::string& path,
                               const ConvertOptions& options, CommandContext& context,
                               TextureChains& chains) {
    UserPrompt& prompt = context.prompt;
    chains.count16 = chains.count8 = 0;
    if (needsPowerOfTwo(source)) {
        const std::string notice = "Texture " + path + " have error size";
        if (context.warn) {
            context.warn(notice + formatText(": resized from %ux%u to %ux%u", source.width(),
                                             source.height(), powerOfTwoAtLeast(source.width()),
                                             powerOfTwoAtLeast(source.height())));
        } else {
            tell(prompt, notice);
        }
        if (!resizeToPowerOfTwo(source)) {
            tell(prompt, "Not aviable memory to resize picture from file\n" + path);
            return FileOutcome::Failed;
        }
    }

    bool failed = false;
    step(context, path, "Creating 32 bit mip levels");
    if (interrupted(context))
        return FileOutcome::Interrupted;
    std::array<PixelImage, kMaxMipLevels> master;
    if (source.bitsPerPixel() == 32) {
        master[0] = std::move(source);  // already the 32-bit copy it would become
    } else if (!makeMasterLevel0(source, master[0])) {
        tell(prompt, kNoMemoryToConvert + path);
        return FileOutcome::Failed;
    }
    source.release();
    {
        MasterMipBuilder builder(master[0]);
        for (int k = 1; k < kMaxMipLevels; ++k) {
            if (interrupted(context))
                return FileOutcome::Interrupted;
            if (!builder.makeLevel(k, master[k])) {
                tell(prompt, kNoMemoryToConvert + path);
                failed = true;
            }
        }
    }
    const std::uint32_t width = master[0].width();
    const std::uint32_t height = master[0].height();
    const int copyMode = options.copyMode();

    if (options.chain16.enabled) {
        step(context, path, "Creating 16 bit mip levels");
        const int n = chainLevelCount(options.chain16, width, height);
        const float attenuation = attenuationValue(options.attenuationPosition);
        for (int level = 0; level < n && !master[level].isEmpty(); ++level) {
            if (interrupted(context))
                return FileOutcome::Interrupted;
            if (!make16BitLevel(master[level], level, n, options.fourBitAlpha, attenuation,
                                copyMode, chains.levels16[level])) {
                tell(prompt, kNoMemoryToConvert + path);
                failed = true;
            }
            ++chains.count16;
        }
    }

    if (options.chain8.enabled) {
        if (interrupted(context))
            return FileOutcome::Interrupted;
        const int n = chainLevelCount(options.chain8, width, height);
        step(context, path, "Creating pallitte");
        Palette palette{};
        if (!buildPalette(master.data(), kMaxMipLevels, palette)) {
            // Without a palette the 8-bit chain would be meaningless: the file is not written.
            tell(prompt, kNoMemoryToConvert + path);
            chains.count16 = 0;
            return FileOutcome::Failed;
        }
        step(context, path, "Creating 8 bit mip levels");
        PaletteSearch search(palette, master[0].hasAlpha() ? 1 : 0);
        for (int level = 0; level < n && !master[level].isEmpty(); ++level) {
            if (interrupted(context))
                return FileOutcome::Interrupted;
            if (!make8BitLevel(master[level], palette, copyMode, chains.levels8[level], &search)) {
                tell(prompt, kNoMemoryToConvert + path);
                failed = true;
            }
            ++chains.count8;
        }
    }
    for (PixelImage& level : master)
        level.release();

    return failed ? FileOutcome::Failed : FileOutcome::Done;
}

FileOutcome convertTgaToTf(const std::string& sourcePath, const std::string& outputPath,
                           const ConvertOptions& options, CommandContext& context) {
    const std::string& path = sourcePath;
    TgaFile tga(sourcePath);
    if (!tga.readInfo()) {
        tellFailure(context, "Error: no open file " + path, tga.failureCause);
        return FileOutcome::Failed;
    }
    if (!tga.loadPicture()) {
        tellFailure(context, "Error: load data from file " + path, tga.failureCause);
        return FileOutcome::Failed;
    }
    if (interrupted(context))
        return FileOutcome::Interrupted;

    TextureChains chains;
    const FileOutcome built = buildTextureChains(tga.picture, path, options, context, chains);
    if (built == FileOutcome::Interrupted || chains.count16 + chains.count8 == 0)
        return built;

    step(context, path, "Save");
    if (interrupted(context))
        return FileOutcome::Interrupted;
    TfFile tf(outputPath);
    if (!tf.writeTf(chains.levels16.data(), chains.count16, chains.levels8.data(), chains.count8)) {
        if (tf.fileError != FileErrorCause::None) {
            tellFailure(context, fileErrorText(tf.fileError, outputPath), tf.failureCause);
            return FileOutcome::Stopped;
        }
        tellFailure(context, "Error save file " + outputPath, tf.failureCause);
        return FileOutcome::Failed;
    }
    if (context.showTitle)
        context.showTitle("Pixmill");
    return built;
}

FileOutcome exportTfToTga(const std::string& tfPath, const std::string& outputPath,
                          const ExportOptions& options, CommandContext& context) {
    UserPrompt& prompt = context.prompt;
    if (interrupted(context))
        return FileOutcome::Interrupted;
    TfFile tf(tfPath);
    if (!tf.readInfo()) {
        tellFailure(context, "Error open file: " + tfPath, tf.failureCause);
        return FileOutcome::Failed;
    }
    const int chain = options.sourceChain != 0 ? options.sourceChain : (tf.count16 > 0 ? 16 : 8);
    tf.use16 = chain == 16;
    const std::uint32_t count = tf.use16 ? tf.count16 : tf.count8;
    tf.level = static_cast<std::uint32_t>(std::max(options.level, 0));
    if (count > 0 && tf.level > count - 1) {
        tf.level = count - 1;
        if (context.warn) {
            context.warn(formatText("%s: level %d lowered to %u (the %d-bit chain has %u level%s)",
                                    tfPath.c_str(), options.level, tf.level, chain, count,
                                    count == 1 ? "" : "s"));
        }
    }
    if (!tf.loadPicture()) {
        tellFailure(context, "Error open file: " + tfPath, tf.failureCause);
        return FileOutcome::Failed;
    }
    if (interrupted(context))
        return FileOutcome::Interrupted;

    const PixelImage& loaded = tf.picture;
    const std::uint32_t bits =
        options.depth == 16 ? 15u : static_cast<std::uint32_t>(options.depth);
    TgaFile tga(outputPath);
    if (bits == 8 && loaded.bitsPerPixel() != 8) {
        // A colour-mapped result needs a palette: quantize the level itself.
        Palette palette{};
        if (buildPalette(&loaded, 1, palette))
            tga.picture.setPalette(palette);
    }
    if (!tga.picture.create(loaded.width(), loaded.height(),
                            bits | (tf.hasAlpha ? formatAlpha : 0))) {
        tellFailure(context, "Error create picture, file " + tfPath, "out of memory");
        return FileOutcome::Failed;
    }
    if (!tga.picture.convertFrom(loaded)) {
        tell(prompt, "Error convert picture");
        return FileOutcome::Failed;
    }
    if (interrupted(context))
        return FileOutcome::Interrupted;
    if (!tga.writeTga(options.askBeforeOverwrite ? &prompt : nullptr)) {
        if (tga.fileError != FileErrorCause::None) {
            tellFailure(context, fileErrorText(tga.fileError, outputPath), tga.failureCause);
            return FileOutcome::Stopped;
        }
        tellFailure(context, "Error save file tga " + outputPath, tga.failureCause);
        return FileOutcome::Failed;
    }
    return FileOutcome::Done;
}

}  // namespace slipway
