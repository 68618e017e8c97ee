// The project document: identity, target, connection, tables, pages, output folder, and its
// JSON project file.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/json_value.hpp"
#include "core/text_file.hpp"
#include "model/access.hpp"
#include "model/entity.hpp"
#include "model/page.hpp"

namespace qb::model {

inline constexpr std::string_view kSchemaVersion = "1.0.0";

class Project {
 public:
  // A new project (InitNew).
  Project();

  std::string project_id;
  std::string project_name;
  std::string version;
  std::string db_engine;      // "sqlite", "mysql" or "mariadb"
  std::string css_framework;  // "bootstrap5", "tailwind" or "plain-css"
  // "cdn" or "local": where the pages take Bootstrap from; absent means "cdn" and is not written.
  std::optional<std::string> assets;
  bool pwa_enabled = false;
  bool api_enabled = false;
  std::string db_host;
  std::string db_port;  // held as text
  std::string db_name;
  std::string db_user;
  std::string db_password;
  bool write_env = true;  // the generator writes the application's .env
  std::string output_directory;
  std::vector<Entity> entities;
  std::vector<Page> pages;
  std::optional<Security> security;  // absent: no sign-in, as before the key existed

  // True when the generated application requires sign-in.
  bool RequiresSignIn() const { return security && security->sign_in; }
  // Whether any table, or any field of any table, holds.
  bool AnyTable(const std::function<bool(const Entity&)>& holds) const;
  bool AnyField(const std::function<bool(const Field&)>& holds) const;
  // Whether any table offers a CSV import.
  bool ImportsCsv() const;
  // Whether any table has a filter, a CSV export or a CSV import.
  bool MovesData() const;
  // Whether any table has a detail page.
  bool HasDetailPages() const;
  // Whether any table is searched through a full-text index.
  bool SearchesFullText() const;
  // Whether any table has a detail page, or any lookup a child list or a delete rule.
  bool HasRelationRules() const;

  // No tables, no pages, no loaded root, no file name.
  void Clear();
  // The values of a new project, with one "about" page.
  void InitNew();

  // Replaces the whole project with the content of a root object; missing or ill-typed keys take
  // their defaults. The file name is left empty.
  void LoadFromRoot(const json::Value& root);
  // The same without a copy: the project keeps root as it is, shared with its other owners.
  void LoadFromRoot(std::shared_ptr<const json::Value> root);

  // Throws std::runtime_error when the file cannot be read or does not hold a JSON object; the
  // project is then unchanged.
  void LoadFromFile(std::string_view file_name);

  // The project in file form, built on the root last loaded or saved so unknown keys survive.
  json::Value BuildRoot() const;

  // Writes BuildRoot in the system's JSON layout and makes the file the project's file. Throws
  // std::runtime_error when writing fails; the project is then unchanged.
  void SaveToFile(std::string_view file_name);

  // Replaces text with what SaveToFile writes, reusing text's memory (a large project's text is
  // megabytes, and fresh memory costs a page fault per 4 KiB).
  void ReplaceWithSavedText(std::string& text) const;

  // The first table with that id, ignoring the case of A-Z; nullptr when there is none.
  const Entity* FindEntity(std::string_view entity_id) const;

  const std::string& FileName() const { return file_name_; }

 private:
  // BuildRoot with empty "entities" and "pages" arrays.
  json::Value BuildRootWithoutRecords() const;
  // BuildRoot's text in pieces, made from root (BuildRootWithoutRecords) and one record at a time.
  void WriteSaved(const json::Value& root, const TextSink& sink) const;

  std::shared_ptr<const json::Value> root_;
  std::string file_name_;
};

}  // namespace qb::model
