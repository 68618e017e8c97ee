// Whole-file UTF-8 text reading and writing.
#include "core/text_file.hpp"

#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include "core/paths.hpp"
#include "core/utf8.hpp"

namespace qb {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view WithoutByteOrderMark(std::string_view text) {
  return text.starts_with(kByteOrderMark) ? text.substr(kByteOrderMark.size()) : text;
}

void CreateParentFolders(const std::filesystem::path& path) {
  if (!path.has_parent_path()) return;
  std::error_code ec;
  std::filesystem::create_directories(path.parent_path(), ec);
  if (ec) throw std::runtime_error("Cannot create folder \"" + PathToUtf8(path.parent_path()) + "\": " + ec.message());
}

// Opens path for writing; name is the file name the messages show. Missing parent folders are
// created only when the file cannot be opened, so a file in an existing folder costs one open.
std::ofstream OpenForWriting(const std::filesystem::path& path, std::string_view name) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) {
    CreateParentFolders(path);
    out.open(path, std::ios::binary | std::ios::trunc);
  }
  if (!out) throw std::runtime_error("Cannot create file \"" + std::string(name) + "\"");
  return out;
}

void CloseWritten(std::ofstream& out, std::string_view name) {
  out.close();
  if (!out) throw std::runtime_error("Cannot write file \"" + std::string(name) + "\"");
}

void WriteBytes(const std::filesystem::path& path, std::string_view name, std::string_view text) {
  std::ofstream out = OpenForWriting(path, name);
  const std::string_view body = WithoutByteOrderMark(text);
  out.write(body.data(), static_cast<std::streamsize>(body.size()));
  CloseWritten(out, name);
}

// write(temporary) writes a file beside file_name, which then takes file_name's place.
void ReplaceWith(std::string_view file_name, const std::function<void(const std::filesystem::path&)>& write) {
  const auto path = PathFromUtf8(file_name);
  std::filesystem::path temp = path;
  temp += PathFromUtf8(".saving");
  std::error_code ec;
  try {
    write(temp);
    std::filesystem::rename(temp, path, ec);
    if (ec) throw std::runtime_error("Cannot replace file \"" + std::string(file_name) + "\": " + ec.message());
  } catch (...) {
    std::filesystem::remove(temp, ec);
    throw;
  }
}

// The whole content in one read of the file's size.
std::string ReadBytes(std::ifstream& in) {
  std::string bytes;
  std::streambuf& buffer = *in.rdbuf();
  const std::streamoff size = buffer.pubseekoff(0, std::ios::end, std::ios::in);
  buffer.pubseekpos(0, std::ios::in);
  if (size > 0) {
    bytes.resize(static_cast<std::size_t>(size));
    bytes.resize(static_cast<std::size_t>(buffer.sgetn(bytes.data(), size)));
  }
  // Anything beyond the size seen first: a growing file, or one that cannot tell its size.
  bytes.append(std::istreambuf_iterator<char>(&buffer), std::istreambuf_iterator<char>());
  return bytes;
}

}  // namespace

std::string ReadTextFile(std::string_view file_name) {
  const auto path = PathFromUtf8(file_name);
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec))
    throw std::runtime_error("Cannot open file \"" + std::string(file_name) + "\": it is a folder");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("Cannot open file \"" + std::string(file_name) + "\"");
  std::string bytes = ReadBytes(in);
  if (in.bad()) throw std::runtime_error("Cannot read file \"" + std::string(file_name) + "\"");
  if (!IsWellFormedUtf8(bytes)) return RepairUtf8(WithoutByteOrderMark(bytes));
  if (bytes.starts_with(kByteOrderMark)) bytes.erase(0, kByteOrderMark.size());
  return bytes;
}

void WriteTextFile(std::string_view file_name, std::string_view text) {
  WriteBytes(PathFromUtf8(file_name), file_name, text);
}

void ReplaceTextFileInPieces(std::string_view file_name, const std::function<void(const TextSink&)>& produce) {
  ReplaceWith(file_name, [&](const std::filesystem::path& temp) {
    std::ofstream out = OpenForWriting(temp, file_name);
    produce([&](std::string_view piece) { out.write(piece.data(), static_cast<std::streamsize>(piece.size())); });
    CloseWritten(out, file_name);
  });
}

}  // namespace qb
