// The closed vocabulary of field types: keys, captions, aliases and type predicates.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace qb::model {

inline constexpr std::size_t kFieldTypeCount = 14;

// What project files hold, in designer order.
inline constexpr std::array<std::string_view, kFieldTypeCount> kFieldTypeKeys = {
    "string", "text", "integer", "decimal", "boolean", "date", "datetime",
    "time", "email", "url", "phone", "password", "select", "lookup"};

// What the designer shows, in the order of kFieldTypeKeys.
inline constexpr std::array<std::string_view, kFieldTypeCount> kFieldTypeLabels = {
    "Text (single line)",
    "Long text (textarea)",
    "Whole number",
    "Decimal number",
    "Yes / No (checkbox)",
    "Date",
    "Date and time",
    "Time",
    "Email address",
    "Web URL",
    "Phone number",
    "Password (stored hashed)",
    "Select list (fixed options)",
    "Lookup (link to another table)"};

// Position of key in kFieldTypeKeys (exact comparison), or -1.
int FieldTypeIndex(std::string_view key);

// Only these types carry a length: string, email, url, phone, select.
bool TypeHasLength(std::string_view key);

// Trimmed, ASCII lower-cased, with the accepted aliases mapped to their keys; an unknown name
// is returned lower-cased so the design rules can report it.
std::string NormalizeFieldType(std::string_view text);

}  // namespace qb::model
