// The reference conversion as a program, the baseline of the conversion benchmark: default
// options (both chains, minimum size 16 pixels).
// usage: pixels_bench_reference IN.tga OUT.tf

#include <cstdio>
#include <cstring>
#include <string>

#include "ReferencePipeline.h"
#include "pixels/TgaFile.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: pixels_bench_reference IN.tga OUT.tf\n");
        return 2;
    }
    slipway::TgaFile tga(argv[1]);
    if (!tga.readInfo() || !tga.loadPicture())
        return 1;
    slipway::reference::Picture source;
    const slipway::PixelImage& p = tga.picture;
    source.create(p.width(), p.height(), static_cast<int>(p.bitsPerPixel()), p.hasAlpha());
    std::memcpy(source.bytes.data(), p.pixels(), p.byteSize());
    std::memcpy(source.palette, p.palette().data(), 768);
    tga.picture.release();
    std::vector<std::string> messages;
    const auto bytes = slipway::reference::convertToTf(std::move(source), {}, argv[1], &messages);
    for (const auto& m : messages)
        std::fprintf(stderr, "message: %s\n", m.c_str());
    std::FILE* f = std::fopen(argv[2], "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size())
        return 1;
    std::fclose(f);
    return 0;
}
