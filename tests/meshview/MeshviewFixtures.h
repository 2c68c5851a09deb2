#pragma once
// Model files for Meshview's tests, written with the project's writers.

#include <cstdint>
#include <string>
#include <vector>

#include "formats/ClfFile.h"

namespace slipway::test {

// Three double-sided squares named a, b and c of edge `edge`, in the XY plane at z = 0, side by
// side along x with a gap of one edge between them: a spans x 0 to edge, b 2·edge to 3·edge, c
// 4·edge to 5·edge; all span y 0 to edge. With `keys` > 0 every mesh carries that many keys,
// key k moving it up by k units (the pose mirrors x). `stacked` puts them one above the other
// instead (along y, all spanning x 0 to edge), which the editor's camera shows whole.
ClfModel threeSquares(float edge = 1.0f, int keys = 0, bool stacked = false);
void writeThreeSquares(const std::string& path, float edge = 1.0f, int keys = 0,
                       bool stacked = false);

}  // namespace slipway::test
