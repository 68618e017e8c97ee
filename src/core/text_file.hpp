// Whole-file UTF-8 text reading and writing.
#pragma once

#include <string>
#include <string_view>

namespace qb {

// Reads a whole file as UTF-8: a leading byte-order mark is dropped and ill-formed sequences
// become U+FFFD. Throws std::runtime_error when the file cannot be read.
std::string ReadTextFile(std::string_view file_name);

// Writes text as UTF-8 without a byte-order mark (a leading U+FEFF is dropped), creating missing
// folders and replacing an existing file. Throws std::runtime_error on failure.
void WriteTextFile(std::string_view file_name, std::string_view text);

}  // namespace qb
