// The designer window: opening, caption and status, the project page, the JSON preview, the file
// commands, closing, and the routing of user events to their handlers.
#include "designer/designer_form.hpp"

#include <exception>
#include <filesystem>
#include <utility>

#include "core/paths.hpp"
#include "core/utf8.hpp"
#include "designer/designer_texts.hpp"
#include "designer/loading_scope.hpp"
#include "designer/output_folder.hpp"
#include "model/field_types.hpp"

namespace qb::designer {

const std::array<std::string_view, 3> kEngineKeys = {"sqlite", "mysql", "mariadb"};
const std::array<std::string_view, 3> kEngineCaptions = {"SQLite (single file, no server needed)", "MySQL",
                                                         "MariaDB"};
const std::array<std::string_view, 3> kCssKeys = {"bootstrap5", "tailwind", "plain-css"};

int IndexOfText(const std::array<std::string_view, 3>& list, std::string_view value) {
  for (std::size_t i = 0; i < list.size(); ++i)
    if (SameTextAscii(list[i], value)) return static_cast<int>(i);
  return 0;
}

namespace {

std::vector<std::string> Strings(const auto& list) { return {list.begin(), list.end()}; }

bool FileExists(std::string_view path) {
  std::error_code ec;
  return std::filesystem::exists(PathFromUtf8(path), ec);
}

constexpr Ctl kConnectionFields[] = {Ctl::edHost, Ctl::edPort, Ctl::edDBName, Ctl::edUser, Ctl::edPassword};

}  // namespace

DesignerForm::DesignerForm(UiPort& ui, std::string file_name, bool allow_generate)
    : ui_(ui), allow_generate_(allow_generate) {
  BuildControls();
  if (!file_name.empty() && FileExists(file_name)) {
    try {
      project_.LoadFromFile(file_name);
      file_name_ = file_name;
    } catch (const std::exception& e) {
      ui_.ShowMessage(MessageKind::Warning, MessageButtons::Ok,
                      "Could not read " + file_name + ":\r\n" + e.what() +
                          "\r\n\r\nStarting a new project instead. Use Save As to choose where to save it.");
      project_.InitNew();
      file_name_.clear();
    }
  } else {
    project_.InitNew();
    file_name_ = file_name;
    modified_ = !file_name.empty();
  }
  RefreshAll();
  active_tab_ = kTablesTab;
}

void DesignerForm::BuildControls() {
  Mut(Ctl::btnGenerate).enabled = allow_generate_;
  Mut(Ctl::cbCSS).items = Strings(kCssKeys);
  Mut(Ctl::cbEngine).items = Strings(kEngineCaptions);
  Mut(Ctl::chkShipBootstrap).hint = std::string(texts::kShipBootstrapHint);
  Mut(Ctl::chkExportCsv).hint = std::string(texts::kExportCsvHint);
  Mut(Ctl::chkImportCsv).hint = std::string(texts::kImportCsvHint);
  Mut(Ctl::chkFilter).hint = std::string(texts::kFilterHint);
  Mut(Ctl::chkDetailPage).hint = std::string(texts::kDetailPageHint);
  Mut(Ctl::chkFullTextSearch).hint = std::string(texts::kFullTextSearchHint);
  Mut(Ctl::chkIndex).hint = std::string(texts::kIndexHint);
  Mut(Ctl::chkListOnParent).hint = std::string(texts::kListOnParentHint);
  Mut(Ctl::cbOnDelete).hint = std::string(texts::kOnDeleteHint);
  Mut(Ctl::cbOnDelete).items = Strings(kOnDeleteCaptions);
  Mut(Ctl::cbFieldType).items = Strings(model::kFieldTypeLabels);
  Mut(Ctl::cbPageTemplate).items = Strings(kPageTemplates);
  Mut(Ctl::cbPageTemplate).selected = 0;
  Mut(Ctl::chkPageNavigation).checked = true;
  Mut(Ctl::lblHint).text = std::string(texts::kTableHint);
  Mut(Ctl::lblLength).text = "Max length:";
  Mut(Ctl::lblOptions).text = "Options (one per line):";
  Mut(Ctl::lblLookupEntity).text = "Links to table:";
  Mut(Ctl::lblLookupField).text = "Show this field of it:";
  Mut(Ctl::lblOnDelete).text = "When the parent is deleted:";
  grid_.rows = {kPagesGridHeader, GridRow{}};
}

template <typename Handler>
void DesignerForm::Guarded(Handler&& handler, Renamed renaming) {
  if (closed_) return;
  if (renaming == Renamed::Nothing || renaming != renaming_.what) renaming_ = Renaming{renaming, false, {}};
  ShowingErrors(ui_, handler);
}

DesignerForm::Renamed DesignerForm::RenamedBy(Ctl id) {
  if (id == Ctl::edTableId || id == Ctl::edTableName) return Renamed::Table;
  if (id == Ctl::edFieldName || id == Ctl::edFieldLabel) return Renamed::Field;
  if (id == Ctl::edRoleName) return Renamed::Role;
  return Renamed::Nothing;
}

// ---- Events ----

bool DesignerForm::IsUsable(Ctl id) const {
  const ControlState& c = Control(id);
  return c.enabled && c.visible && (!InFieldGroup(id) || Control(Ctl::grpField).enabled);
}

void DesignerForm::TextChanged(Ctl id, std::string text) {
  if (!IsUsable(id)) return;
  Guarded([&] {
    Mut(id).text = std::move(text);
    switch (id) {
      case Ctl::edProjectId: case Ctl::edProjectName: case Ctl::edVersion: case Ctl::edOutput:
      case Ctl::edHost: case Ctl::edPort: case Ctl::edDBName: case Ctl::edUser: case Ctl::edPassword:
        ProjectSettingChanged();
        break;
      case Ctl::edRoleName:
        RoleNameChanged();
        break;
      case Ctl::edTableId: case Ctl::edTableName: case Ctl::edPageSize:
        TableSettingChanged(id);
        break;
      case Ctl::edFieldName: case Ctl::edFieldLabel: case Ctl::edLength: case Ctl::edDefault:
      case Ctl::edHelp: case Ctl::mmOptions:
        FieldSettingChanged(id);
        break;
      case Ctl::edPageContent:
        PageEditorChanged();
        break;
      default:
        break;
    }
  }, RenamedBy(id));
}

void DesignerForm::Checked(Ctl id, bool checked) {
  if (!IsUsable(id)) return;
  Guarded([&] {
    Mut(id).checked = checked;
    switch (id) {
      case Ctl::chkPWA: case Ctl::chkAPI: case Ctl::chkWriteEnv:
        ProjectSettingChanged();
        break;
      case Ctl::chkTimestamps: case Ctl::chkExportCsv: case Ctl::chkImportCsv: case Ctl::chkDetailPage:
      case Ctl::chkFullTextSearch:
        TableSettingChanged(id);
        break;
      case Ctl::chkShipBootstrap:
        ShipBootstrapChanged();
        break;
      case Ctl::chkSignIn:
        SignInChanged();
        break;
      case Ctl::chkLimitAccess:
        LimitAccessChanged();
        break;
      case Ctl::chkRequired: case Ctl::chkUnique: case Ctl::chkShowInList: case Ctl::chkSearchable:
      case Ctl::chkFilter: case Ctl::chkIndex: case Ctl::chkListOnParent:
        FieldSettingChanged(id);
        break;
      case Ctl::chkPageNavigation:
        PageEditorChanged();
        break;
      default:
        break;
    }
  });
}

void DesignerForm::Selected(Ctl id, int index) {
  if (!IsUsable(id)) return;
  Guarded([&] {
    ControlState& c = Mut(id);
    const int count = id == Ctl::lvFields ? static_cast<int>(field_rows_.size()) : static_cast<int>(c.items.size());
    c.selected = index >= 0 && index < count ? index : -1;
    switch (id) {
      case Ctl::cbCSS: case Ctl::cbEngine:
        ProjectSettingChanged();
        break;
      case Ctl::lbTables:
        LoadTableEditor();
        break;
      case Ctl::lbRoles:
        LoadRoleEditor();
        break;
      case Ctl::cbDisplayField:
        TableSettingChanged(id);
        break;
      case Ctl::lvFields:
        if (!loading_) LoadFieldEditor();
        break;
      case Ctl::cbFieldType:
        FieldTypeChanged();
        break;
      case Ctl::cbLookupEntity: case Ctl::cbLookupField: case Ctl::cbOnDelete:
        FieldSettingChanged(id);
        break;
      case Ctl::cbPageTemplate:
        PageEditorChanged();
        break;
      default:
        break;
    }
  });
}

void DesignerForm::Clicked(Ctl id) {
  if (!IsUsable(id)) return;
  Guarded([&] {
    switch (id) {
      case Ctl::btnNew: NewClick(); break;
      case Ctl::btnOpen: OpenClick(); break;
      case Ctl::btnSave: SaveProject(false); break;
      case Ctl::btnSaveAs: SaveProject(true); break;
      case Ctl::btnValidate: ValidateClick(); break;
      case Ctl::btnGenerate: GenerateClick(); break;
      case Ctl::btnSaveAndClose: SaveAndCloseClick(); break;
      case Ctl::btnCancel: RequestClose(ModalResult::Cancel); break;
      case Ctl::btnBrowseOutput: BrowseOutputClick(); break;
      case Ctl::btnAddRole: AddRole(); break;
      case Ctl::btnRemoveRole: RemoveRole(); break;
      case Ctl::btnAddTable: AddTable(); break;
      case Ctl::btnDeleteTable: DeleteTable(); break;
      case Ctl::btnTableUp: MoveTable(-1); break;
      case Ctl::btnTableDown: MoveTable(1); break;
      case Ctl::btnAddField: AddField(); break;
      case Ctl::btnDeleteField: DeleteField(); break;
      case Ctl::btnFieldUp: MoveField(-1); break;
      case Ctl::btnFieldDown: MoveField(1); break;
      case Ctl::btnAddPage: AddPage(); break;
      case Ctl::btnDeletePage: DeletePage(); break;
      default: break;
    }
  });
}

void DesignerForm::AccessCellClicked(int row, int right) {
  if (!IsUsable(Ctl::lvAccess)) return;
  Guarded([&] { ToggleAccess(row, right); });
}

void DesignerForm::TabChanged(int index) {
  if (index < kProjectTab || index > kPreviewTab || index == active_tab_) return;
  Guarded([&] {
    StorePagesGrid();
    active_tab_ = index;
    if (index == kPreviewTab) ShowPreview();
  });
}

void DesignerForm::CloseRequested() {
  Guarded([&] { RequestClose(ModalResult::Cancel); });
}

// ---- Caption, status and shared operations ----

void DesignerForm::MarkModified() {
  if (modified_) return;
  modified_ = true;
  UpdateStatus();
}

void DesignerForm::UpdateStatus() {
  const std::string name = file_name_.empty() ? std::string(texts::kUnsavedProject) : file_name_;
  caption_ = std::string(texts::kCaptionPrefix) + name + (modified_ ? " *" : "");
  const auto engine = kEngineCaptions[static_cast<std::size_t>(IndexOfText(kEngineKeys, project_.db_engine))];
  Mut(Ctl::lblStatus).text = name + "   |   " + std::to_string(project_.entities.size()) + " table(s), " +
                             std::to_string(project_.pages.size()) + " page(s)   |   " + std::string(engine);
}

void DesignerForm::RefreshAll() {
  LoadProjectSettings();
  RefreshTableList(0);
  LoadPagesGrid();
  UpdateStatus();
}

std::string DesignerForm::ResolveOutputFolder() const {
  return ResolveOutputFolderFor(project_.output_directory, file_name_, CurrentFolder(), kNativePathStyle);
}

bool DesignerForm::SaveProject(bool ask_for_name) {
  StorePagesGrid();
  std::string name = file_name_;
  if (ask_for_name || name.empty()) {
    FileDialog dialog{std::string(texts::kSaveProjectTitle), std::string(texts::kProjectFilter), "json",
                      name.empty() ? project_.project_id + ".json" : name, true, true};
    std::optional<std::string> chosen = ui_.SaveFile(dialog);
    if (!chosen) return false;
    name = std::move(*chosen);
  }
  project_.SaveToFile(name);
  file_name_ = name;
  assets_in_file_ = project_.assets.has_value();
  modified_ = false;
  UpdateStatus();
  return true;
}

// ---- Project page ----

void DesignerForm::LoadProjectSettings() {
  {
    LoadingScope loading(loading_);
    const std::pair<Ctl, const std::string*> texts[] = {
        {Ctl::edProjectId, &project_.project_id}, {Ctl::edProjectName, &project_.project_name},
        {Ctl::edVersion, &project_.version},      {Ctl::edOutput, &project_.output_directory},
        {Ctl::edHost, &project_.db_host},         {Ctl::edPort, &project_.db_port},
        {Ctl::edDBName, &project_.db_name},       {Ctl::edUser, &project_.db_user},
        {Ctl::edPassword, &project_.db_password}};
    for (const auto& [id, value] : texts) Mut(id).text = *value;
    Mut(Ctl::cbCSS).selected = IndexOfText(kCssKeys, project_.css_framework);
    Mut(Ctl::cbEngine).selected = IndexOfText(kEngineKeys, project_.db_engine);
    Mut(Ctl::chkPWA).checked = project_.pwa_enabled;
    Mut(Ctl::chkAPI).checked = project_.api_enabled;
    Mut(Ctl::chkWriteEnv).checked = project_.write_env;
    Mut(Ctl::chkSignIn).checked = project_.RequiresSignIn();
    Mut(Ctl::chkShipBootstrap).checked = project_.assets == "local";
    assets_in_file_ = project_.assets.has_value();
  }
  UpdateConnectionFields();
  UpdateShipBootstrap();
  RefreshRoleList(0);
}

void DesignerForm::ProjectSettingChanged() {
  if (loading_) return;
  project_.project_id = Trim(Control(Ctl::edProjectId).text);
  project_.project_name = Control(Ctl::edProjectName).text;
  project_.version = Trim(Control(Ctl::edVersion).text);
  project_.output_directory = Trim(Control(Ctl::edOutput).text);
  project_.db_host = Trim(Control(Ctl::edHost).text);
  project_.db_port = Trim(Control(Ctl::edPort).text);
  project_.db_name = Trim(Control(Ctl::edDBName).text);
  project_.db_user = Trim(Control(Ctl::edUser).text);
  project_.db_password = Control(Ctl::edPassword).text;
  if (const int css = Control(Ctl::cbCSS).selected; css >= 0)
    project_.css_framework = std::string(kCssKeys[static_cast<std::size_t>(css)]);
  if (const int engine = Control(Ctl::cbEngine).selected; engine >= 0)
    project_.db_engine = std::string(kEngineKeys[static_cast<std::size_t>(engine)]);
  project_.pwa_enabled = Control(Ctl::chkPWA).checked;
  project_.api_enabled = Control(Ctl::chkAPI).checked;
  project_.write_env = Control(Ctl::chkWriteEnv).checked;
  UpdateConnectionFields();
  UpdateShipBootstrap();
  MarkModified();
  UpdateStatus();
}

// Unchecked means the CDN, which a file without the key already uses: taking the check back
// leaves such a file without the key.
void DesignerForm::ShipBootstrapChanged() {
  if (loading_) return;
  if (Control(Ctl::chkShipBootstrap).checked)
    project_.assets = "local";
  else if (assets_in_file_)
    project_.assets = "cdn";
  else
    project_.assets.reset();
  ProjectSettingChanged();
}

// Only Bootstrap is shipped with the application.
void DesignerForm::UpdateShipBootstrap() {
  const int css = Control(Ctl::cbCSS).selected;
  Mut(Ctl::chkShipBootstrap).enabled = css >= 0 && kCssKeys[static_cast<std::size_t>(css)] == "bootstrap5";
}

void DesignerForm::UpdateConnectionFields() {
  const bool server = Control(Ctl::cbEngine).selected > 0;
  for (Ctl id : kConnectionFields) Mut(id).enabled = server;
}

void DesignerForm::BrowseOutputClick() {
  const std::optional<std::string> folder = ui_.PickFolder(texts::kBrowseOutputCaption, ResolveOutputFolder());
  if (folder) TextChanged(Ctl::edOutput, ExpandPath(*folder));
}

// ---- File commands, preview and closing ----

void DesignerForm::NewClick() {
  if (modified_ && ui_.ShowMessage(MessageKind::Confirmation, MessageButtons::YesNoDefaultNo, texts::kDiscardForNew) !=
                       MessageAnswer::Yes)
    return;
  project_.InitNew();
  file_name_.clear();
  modified_ = false;
  RefreshAll();
  active_tab_ = kProjectTab;
}

void DesignerForm::OpenClick() {
  if (modified_ && ui_.ShowMessage(MessageKind::Confirmation, MessageButtons::YesNoDefaultNo, texts::kDiscardForOpen) !=
                       MessageAnswer::Yes)
    return;
  const FileDialog dialog{std::string(texts::kOpenProjectTitle), std::string(texts::kProjectFilter), "", file_name_,
                          false, false};
  const std::optional<std::string> chosen = ui_.OpenFile(dialog);
  if (!chosen) return;
  try {
    project_.LoadFromFile(*chosen);
  } catch (const std::exception& e) {
    ui_.ShowMessage(MessageKind::Error, MessageButtons::Ok, std::string(texts::kCouldNotOpen) + e.what());
    project_.InitNew();
  }
  file_name_ = project_.FileName();
  modified_ = false;
  RefreshAll();
}

void DesignerForm::ShowPreview() { project_.ReplaceWithSavedText(Mut(Ctl::mmPreview).text); }

void DesignerForm::RequestClose(ModalResult result) {
  if (result != ModalResult::Ok && modified_ &&
      ui_.ShowMessage(MessageKind::Confirmation, MessageButtons::YesNoDefaultNo, texts::kCloseWithoutSaving) !=
          MessageAnswer::Yes)
    return;
  result_ = result;
  closed_ = true;
}

}  // namespace qb::designer
