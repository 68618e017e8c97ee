// A designer window opened for a test, with its scripted user interface and a folder of its own.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "designer/designer_form.hpp"
#include "scripted_ui.hpp"
#include "support/temp_dir.hpp"

namespace qb::test {

struct DesignerSession {
  TempDir dir;
  std::string temp = MakeTemp(dir);
  ScriptedUi ui{temp};
  std::unique_ptr<designer::DesignerForm> form;

  designer::DesignerForm& Open(const std::string& path, bool allow_generate = true) {
    form = std::make_unique<designer::DesignerForm>(ui, path, allow_generate);
    return *form;
  }
  // A copy of an example project inside the session's folder.
  std::string Example(const std::string& name) const {
    const std::filesystem::path target = dir.path() / name;
    std::filesystem::copy_file(std::filesystem::path(QB_EXAMPLES_DIR) / name, target,
                               std::filesystem::copy_options::overwrite_existing);
    return target.string();
  }
  bool TempIsEmpty() const { return std::filesystem::is_empty(temp); }

 private:
  static std::string MakeTemp(const TempDir& d) {
    std::filesystem::create_directories(d.path() / "tmp");
    return (d.path() / "tmp").string();
  }
};

}  // namespace qb::test
