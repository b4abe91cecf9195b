#pragma once
// Whole files in and out for test fixtures and their checks. Every failure throws
// std::runtime_error, so a missing file can never pass for an empty one.

#include <cstdint>
#include <string>
#include <vector>

namespace mozu::test {

std::vector<std::uint8_t> ReadBytes(const std::string& path);
std::string ReadText(const std::string& path);
// Creates or truncates the file.
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace mozu::test
