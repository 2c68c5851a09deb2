#include "FuzzServices.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    slipway::fuzz::loadInBothForms(
        data, size, [](auto& scene, auto bytes, auto placement, auto services) {
            return slipway::loadCffFromBytes(scene, bytes, "fuzz.cff", placement, services);
        });
    return 0;
}
