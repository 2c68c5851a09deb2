#pragma once
// Small helpers for tests that work with real files.

#include <cstdint>
#include <string>
#include <vector>

namespace slipway::test {

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
void writeText(const std::string& path, const std::string& text);
std::vector<std::uint8_t> readBytes(const std::string& path);
std::string readText(const std::string& path);

}  // namespace slipway::test
