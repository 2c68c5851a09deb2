#pragma once
// The per-file work of Pixmill's two batch commands: one TGA picture into one TF texture, and
// one level of a TF texture back into a TGA picture. Messages go through the prompt with the
// program's texts; the Esc key (when a key state is given) offers to interrupt.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "base/KeyState.h"
#include "base/UserPrompt.h"
#include "pixels/MipLevels.h"
#include "pixels/PixelImage.h"

namespace slipway {

// The options of the dialog "Convert tga | bmp files to tf", with its defaults.
struct ConvertOptions {
    MipChainSettings chain16;
    MipChainSettings chain8;
    bool fourBitAlpha = false;  // "Make 4 bit alpha channel"
    // "Attenuation" slider, 0..9: the last 16-bit level's alpha factor is (10 - position) / 10.
    int attenuationPosition = 0;
    int verticalCopy = 0;    // 0 none, 1 up -> down, 2 down -> up
    int horizontalCopy = 0;  // 0 none, 1 left -> right, 2 right -> left
    int copyMode() const { return horizontalCopy * 4 + verticalCopy; }
};

// The options of the dialog "Convert TF to TGA".
struct ExportOptions {
    ExportOptions() = default;
    ExportOptions(int chain, int level_, int depth_)
        : sourceChain(chain), level(level_), depth(depth_) {}

    int sourceChain = 0;  // 16 or 8; 0 = the 16-bit chain when the file has one, else the 8-bit
    int level = 0;        // lowered to the chain's last level when the file has fewer
    int depth = 32;       // 32, 24, 16 (written as 1:5:5:5) or 8
    bool askBeforeOverwrite = true;  // "Overwrite file " + path when the output exists
};

enum class FileOutcome {
    Done,         // written without a message
    Failed,       // a message was shown; the file may be missing or incomplete
    Interrupted,  // the user ended the batch at an interruption check
    Stopped,      // a write error was reported: the batch ends
};

// What the commands need from the window around them.
struct CommandContext {
    explicit CommandContext(UserPrompt& prompt_, KeyState* keys_ = nullptr,
                            std::function<void(const std::string&)> showTitle_ = {})
        : prompt(prompt_), keys(keys_), showTitle(std::move(showTitle_)) {}

    UserPrompt& prompt;
    // Esc interrupts when given: held, or pressed since the previous check. A press made
    // before a batch counts at its first check unless the caller clears it first
    // (keys->wasPressed(Key::Escape)).
    KeyState* keys = nullptr;
    std::function<void(const std::string&)> showTitle;  // progress, in the main window's title

    // What the command line adds; the window leaves these unset and shows the texts alone.
    // `explain`: failure messages name their cause after ": ", as this function words it (it
    // may add advice about its own options); it gets the system's error text or what is wrong
    // with the file ("not a TGA picture").
    std::function<std::string(const std::string& cause)> explain;
    // `warn`: what is still done but not as asked (a picture resized to powers of two, a
    // lowered export level) is said here instead of through the prompt.
    std::function<void(const std::string&)> warn;
    // `showStep`: each step of the file's work, as the title shows it after the path
    // ("Creating 8 bit mip levels").
    std::function<void(const std::string& step)> showStep;
    // Set from any thread to end the batch at the next interruption check without asking
    // (the user has already agreed, for example by closing the window).
    const std::atomic<bool>* stopRequested = nullptr;
};

// The causes that name a missing chain, for advice about choosing the other one.
inline constexpr std::string_view kNoChain16 = "no 16-bit chain";
inline constexpr std::string_view kNoChain8 = "no 8-bit chain";

// folder + the source's file name with everything after its last dot replaced by `extension`
// ("Sail.tga" gives "Sail.tf"; a name without a dot gets "." + extension). Without a folder the
// output goes next to the source.
std::string outputPathFor(std::string_view folder, std::string_view sourcePath,
                          std::string_view extension);

// The output chains of one texture.
struct TextureChains {
    std::array<PixelImage, kMaxMipLevels> levels16;
    std::uint32_t count16 = 0;
    std::array<PixelImage, kMaxMipLevels> levels8;
    std::uint32_t count8 = 0;
};

// Prepares a loaded source picture (`path` names it in messages) and builds both chains as the
// options ask. The counts are the levels to write; both are 0 when the file must not be
// written. Failed when a message was shown.
FileOutcome buildTextureChains(PixelImage& source, const std::string& path,
                               const ConvertOptions& options, CommandContext& context,
                               TextureChains& chains);

// Reads the TGA at sourcePath, prepares it, builds the master, 16-bit and 8-bit chains and
// writes the TF at outputPath (replacing any file there; asking is the batch's business).
FileOutcome convertTgaToTf(const std::string& sourcePath, const std::string& outputPath,
                           const ConvertOptions& options, CommandContext& context);

// Writes one level of the TF at tfPath as a TGA picture at outputPath.
FileOutcome exportTfToTga(const std::string& tfPath, const std::string& outputPath,
                          const ExportOptions& options, CommandContext& context);

}  // namespace slipway
