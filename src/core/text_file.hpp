// Whole-file UTF-8 text reading and writing.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace qb {

// Reads a whole file as UTF-8: a leading byte-order mark is dropped and ill-formed sequences
// become U+FFFD. Throws std::runtime_error when the file cannot be read.
std::string ReadTextFile(std::string_view file_name);

// Writes text as UTF-8 without a byte-order mark (a leading U+FEFF is dropped), creating missing
// folders and replacing an existing file. Throws std::runtime_error on failure.
void WriteTextFile(std::string_view file_name, std::string_view text);

// Takes the pieces of a text in order.
using TextSink = std::function<void(std::string_view)>;

// Writes a file as WriteTextFile does, but replaces it in one step: produce hands the text to the
// sink piece by piece, so that it is never held whole, and the pieces go to a temporary file
// beside it first, so a failure leaves an existing file untouched and no partial file behind.
// The pieces go in as they are (no byte-order mark is dropped).
void ReplaceTextFileInPieces(std::string_view file_name, const std::function<void(const TextSink&)>& produce);

}  // namespace qb
