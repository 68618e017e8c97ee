// Text functions of the generator: file-safe ids, class names, routes and escaping for PHP and HTML.
#pragma once

#include <string>
#include <string_view>

namespace qb::gen {

// Characters other than A-Z, a-z, 0-9, "_" and "-" become "_" (one per code point); empty gives
// the fallback; a leading digit gets "_" in front.
std::string SafeFileId(std::string_view text, std::string_view fallback);

// Characters other than A-Z, a-z, 0-9 and "_" become "_"; empty gives "Generated"; a leading digit
// gets "_" in front; a leading lower-case letter is upper-cased. "about-us" gives "About_us".
std::string PhpClassName(std::string_view text);

// Trimmed, control characters dropped, "\" as "/", runs of "/" as one, "/" in front, a trailing
// "/" removed; empty gives "/". So every link to the route stays on the application's host.
std::string NormalizeRoute(std::string_view text);

// Each line break (CR LF, CR or LF) becomes one blank: names are written on one line.
std::string SingleLine(std::string_view text);

// Content of a single-quoted PHP string literal.
std::string PhpQuote(std::string_view text);

std::string HtmlEscape(std::string_view text);

// A PHP output tag echoing url(path), HTML-escaped.
std::string UrlEcho(std::string_view path);

}  // namespace qb::gen
