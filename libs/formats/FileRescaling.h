#pragma once
// Rescaling of ship files in place: every stored position of a CLF or CFF model, a sail file
// or a DEF file multiplied by a factor, nothing else changed. A model or sail file is scaled
// through the same layout (ClfLayout, CffLayout, SailLayout) that the viewers read it by, so
// exactly the positions they read are scaled, and every other byte, including whatever
// follows what they read, is kept. Each operation is all or nothing: the layout is checked to
// its end before anything is multiplied, and the result replaces the file atomically, so a
// file that does not parse (or a failed write) is left byte for byte as it was.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace slipway {

// The rescaled bytes, or nothing when the bytes do not parse completely or the factor is 0 or
// not finite. Safe on untrusted input.
//
// CLF: x, y, z of every vertex record of the levels the ship viewer reads (at most four); the
// key records that objects of any version may carry after their triangles are stepped over
// and kept as they are.
std::optional<std::vector<std::uint8_t>> rescaledClf(std::span<const std::uint8_t> bytes,
                                                     float factor);
// CFF: the header's origin, scale and extent (and 0 written to its word at offset 36), the
// centre and radius of each object header of the levels the ship viewer reads. The vertex
// integers are relative to origin and scale and stay as they are.
std::optional<std::vector<std::uint8_t>> rescaledCff(std::span<const std::uint8_t> bytes,
                                                     float factor);
// Sail file: every record's corners and depth, x, y, z of every attached-mesh vertex. Fewer
// bytes than a record after the last entry are kept as they are (the sail generator passes
// over them); an entry whose attached meshes run past the end makes the file refused.
std::optional<std::vector<std::uint8_t>> rescaledSailFile(std::span<const std::uint8_t> bytes,
                                                          float factor);
// DEF: X, Y, Z of the announced records that are present in whole; a negative count scales
// nothing. Nothing when the count itself is missing.
std::optional<std::vector<std::uint8_t>> rescaledDefPositions(std::span<const std::uint8_t> bytes,
                                                              float factor);

// The same on files, replacing the file atomically; a path that is a link rewrites the file it
// leads to. True when the file was rewritten; false when it could not be read, is marked
// read-only or cannot be opened for writing, does not parse or the write failed (the file is
// then unchanged). Nothing is reported to the user.
bool rescaleClf(const std::string& path, float factor);
bool rescaleCff(const std::string& path, float factor);
bool rescaleSailFile(const std::string& path, float factor);
bool rescaleDefPositions(const std::string& path, float factor);

}  // namespace slipway
