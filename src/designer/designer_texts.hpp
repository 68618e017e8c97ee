// Fixed texts of the designer window.
#pragma once

#include <string_view>

namespace qb::designer::texts {

inline constexpr std::string_view kCaptionPrefix = "Kettlebourne Database Designer - ";
inline constexpr std::string_view kUnsavedProject = "(unsaved project)";
inline constexpr std::string_view kProjectFilter = "Kettlebourne project (*.json)|*.json|All files (*.*)|*.*";
inline constexpr std::string_view kOpenProjectTitle = "Open Kettlebourne project";
inline constexpr std::string_view kSaveProjectTitle = "Save Kettlebourne project";
inline constexpr std::string_view kBrowseOutputCaption = "Select the folder for the generated web application";
inline constexpr std::string_view kDiscardForNew = "Discard unsaved changes and start a new project?";
inline constexpr std::string_view kDiscardForOpen = "Discard unsaved changes and open another project?";
inline constexpr std::string_view kCouldNotOpen = "Could not open the project: ";
inline constexpr std::string_view kCloseWithoutSaving = "Close the designer without saving your changes?";
inline constexpr std::string_view kShipBootstrapHint =
    "Unchecked, the pages link Bootstrap from a CDN (with integrity hashes).";
inline constexpr std::string_view kTableHint = "Each table becomes a menu item and a CRUD page at /table_name.";
inline constexpr std::string_view kExportCsvHint = "The table's list page offers its rows as a CSV download.";
inline constexpr std::string_view kImportCsvHint = "The table's list page takes new rows from an uploaded CSV file.";
inline constexpr std::string_view kFilterHint =
    "The list's filter bar offers this field: a choice for lookups, yes/no and select lists, a from/to range "
    "for dates, times and numbers.";
inline constexpr std::string_view kDetailPageHint =
    "Each record gets a page of its own, which can list the records that link to it.";
inline constexpr std::string_view kFullTextSearchHint =
    "The list's search uses the database's full-text index over the searchable text fields.";
inline constexpr std::string_view kIndexHint =
    "The column gets a database index, so sorting and filtering by it stay fast. Lookups always have one.";
inline constexpr std::string_view kListOnParentHint =
    "The linked table's detail page lists these records (it needs Detail page ticked).";
inline constexpr std::string_view kOnDeleteHint =
    "What happens to these records when the record they link to is deleted.";
inline constexpr std::string_view kAddTableFirst = "Add or select a table first.";
inline constexpr std::string_view kAutomaticDisplayField = "(automatic)";
inline constexpr std::string_view kTargetDisplayField = "(display field of that table)";
inline constexpr std::string_view kAdminRoleEntry = "admin  -  every right";

}  // namespace qb::designer::texts
