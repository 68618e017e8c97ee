// Generator text functions.
#include "generator/text_functions.hpp"

#include "core/utf8.hpp"

namespace qb::gen {
namespace {

bool IsAsciiLetterOrDigit(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

// Every code point that fails keep() becomes one "_".
template <typename Keep>
std::string ReplaceOthers(std::string_view text, Keep keep) {
  std::string out;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t n = Utf8SequenceLength(text, pos);
    if (n == 1 && keep(text[pos])) out += text[pos];
    else out += '_';
    pos += n ? n : 1;
  }
  return out;
}

}  // namespace

std::string SafeFileId(std::string_view text, std::string_view fallback) {
  std::string id = ReplaceOthers(text, [](char c) { return IsAsciiLetterOrDigit(c) || c == '_' || c == '-'; });
  if (id.empty()) id = fallback;
  if (!id.empty() && IsDigit(id.front())) id.insert(id.begin(), '_');
  return id;
}

std::string PhpClassName(std::string_view text) {
  std::string name = ReplaceOthers(text, [](char c) { return IsAsciiLetterOrDigit(c) || c == '_'; });
  if (name.empty()) return "Generated";
  if (IsDigit(name.front())) name.insert(name.begin(), '_');
  if (name.front() >= 'a' && name.front() <= 'z') name.front() = static_cast<char>(name.front() - 'a' + 'A');
  return name;
}

std::string NormalizeRoute(std::string_view text) {
  // Browsers drop tabs and line breaks inside a URL and read "\" as "/", so "/\host" or
  // "/<LF>/host" would name another host; runs of "/" collapse so that no link starts with "//".
  std::string route;
  for (char c : Trim(text)) {
    if (IsControl(c)) continue;
    if (c == '\\') c = '/';
    if (c == '/' && !route.empty() && route.back() == '/') continue;
    route += c;
  }
  if (route.empty()) return "/";
  if (route.front() != '/') route.insert(route.begin(), '/');
  if (route.size() >= 2 && route.back() == '/') route.pop_back();
  return route;
}

std::string SingleLine(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    out += (text[i] == '\r' || text[i] == '\n') ? ' ' : text[i];
  }
  return out;
}

std::string PhpQuote(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\'': out += "\\'"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out += c;
    }
  }
  return out;
}

std::string HtmlEscape(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#039;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string UrlEcho(std::string_view path) {
  return "<?= htmlspecialchars(url('" + PhpQuote(path) + "'), ENT_QUOTES, 'UTF-8') ?>";
}

}  // namespace qb::gen
