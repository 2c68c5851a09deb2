#include "TextureFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    slipway::fuzz::loadTextureInBothForms(data, size, "fuzz.tf");
    return 0;
}
