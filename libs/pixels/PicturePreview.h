#pragma once
// How Pixmill's viewer shows a picture: the display copy it draws from (24 bits, or 32 bits
// with alpha), the words that describe the picture's surface, and the colours drawn on screen
// for each way of looking at the alpha channel.

#include <cstdint>
#include <string>

#include "pixels/PixelImage.h"

namespace slipway {

// Which part of a picture with alpha is drawn; chosen by the keys held while it is drawn.
enum class PreviewView {
    Blended,  // the colour blended over the background by its alpha (no key)
    Colour,   // the colour alone, alpha ignored (Ctrl)
    Alpha,    // the alpha as a grey (Shift without Ctrl)
};

// The view for the modifier keys held: Ctrl wins over Shift.
inline PreviewView previewViewFor(bool ctrlHeld, bool shiftHeld) {
    if (ctrlHeld)
        return PreviewView::Colour;
    return shiftHeld ? PreviewView::Alpha : PreviewView::Blended;
}

// Fills `display` from `picture`: 32 bits with formatAlpha when the picture has alpha, else
// 24 bits. False (display left empty) when the picture is empty or memory runs out.
bool makeDisplayPicture(const PixelImage& picture, PixelImage& display);

// "texture bpp: N, alpha: color key " (8 bits), "..., alpha: 4 bit " (12), "..., alpha: 1 bit "
// (15), "..., alpha: 8 bit " (32) for a picture with alpha, "this is BUG!!!" for any other depth
// with alpha, and "texture bpp: N " without alpha. The trailing blanks belong to the texts.
std::string describeSurface(const PixelImage& picture);

// The screen colour of every pixel of `display` as 0xAARRGGBB with alpha 0xFF, row by row into
// `out` (width x height entries). `background` is red in the low byte, then green, then blue.
// A picture without alpha shows its colours whatever the view; with alpha, Blended gives each
// channel colour * a + background * (1 - a) with a = alpha / 255, truncated.
void renderPreview(const PixelImage& display, std::uint32_t background, PreviewView view,
                   std::uint32_t* out);

}  // namespace slipway
