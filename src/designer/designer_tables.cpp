// The "Tables && Fields" tab: table list and table group, field list and field group, and the
// names that follow renames.
#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

#include "core/utf8.hpp"
#include "designer/designer_form.hpp"
#include "designer/designer_texts.hpp"
#include "designer/loading_scope.hpp"
#include "model/field_types.hpp"
#include "model/identifiers.hpp"
#include "model/number_text.hpp"

namespace qb::designer {

const std::array<std::string_view, kFieldColumnCount> kFieldColumnCaptions = {
    "Field name", "Label", "Type", "Length", "Required", "Unique", "In list", "Search", "Details"};
const std::array<std::string_view, 3> kOnDeleteKeys = {"restrict", "setNull", "cascade"};
const std::array<std::string_view, 3> kOnDeleteCaptions = {"Refuse", "Clear the link", "Delete these too"};

namespace {

constexpr Ctl kTableGroupControls[] = {Ctl::edTableId,     Ctl::edTableName,  Ctl::cbDisplayField, Ctl::edPageSize,
                                       Ctl::chkTimestamps, Ctl::chkExportCsv, Ctl::chkImportCsv, Ctl::chkDetailPage,
                                       Ctl::chkFullTextSearch};

// The types the list's filter bar can offer, as the design rules allow them.
constexpr std::string_view kFilterTypes[] = {"lookup", "boolean", "select", "date",
                                             "datetime", "time", "integer", "decimal"};

bool TypeCanFilter(std::string_view type) { return std::ranges::find(kFilterTypes, type) != std::end(kFilterTypes); }

// The design rules refuse an index on long text and passwords.
bool TypeCanIndex(std::string_view type) { return !type.empty() && type != "text" && type != "password"; }

// The entry of the deletion rule list for a lookup's key: absent is "restrict"; an unknown rule
// selects nothing.
int OnDeleteEntry(const std::optional<std::string>& rule) {
  const auto found = std::ranges::find(kOnDeleteKeys, rule.value_or("restrict"));
  return found == kOnDeleteKeys.end() ? -1 : static_cast<int>(found - kOnDeleteKeys.begin());
}

// A ticked box writes true; a cleared one takes the key away, as a file without it means no.
void SetFlag(std::optional<bool>& key, bool checked) {
  if (checked)
    key = true;
  else
    key.reset();
}

std::string TableRowText(const model::Entity& t) { return t.id + "  -  " + t.name; }

std::string YesOrEmpty(bool value) { return value ? "Yes" : ""; }

// The entry equal to value ignoring ASCII case, or -1.
int IndexOfItem(const std::vector<std::string>& items, std::string_view value, std::size_t from = 0) {
  for (std::size_t i = from; i < items.size(); ++i)
    if (SameTextAscii(items[i], value)) return static_cast<int>(i);
  return -1;
}

// The options as one text, a line break after each, trimmed, the remaining breaks made ", ".
std::string OptionsDetail(const std::vector<std::string>& options) {
  std::string lines;
  for (const std::string& option : options) lines += option + "\n";
  std::string out;
  for (char c : Trim(lines)) out += c == '\n' ? std::string(", ") : std::string(1, c);
  return out;
}

// The memo's lines, each trimmed, empty ones left out.
std::vector<std::string> OptionLines(std::string_view memo) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= memo.size()) {
    std::size_t end = memo.find('\n', start);
    if (end == std::string_view::npos) end = memo.size();
    if (std::string line = Trim(memo.substr(start, end - start)); !line.empty()) lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

}  // namespace

model::Entity* DesignerForm::CurrentEntity() {
  const int i = Control(Ctl::lbTables).selected;
  return i >= 0 && i < static_cast<int>(project_.entities.size()) ? &project_.entities[static_cast<std::size_t>(i)]
                                                                  : nullptr;
}

model::Field* DesignerForm::CurrentField() {
  model::Entity* t = CurrentEntity();
  const int i = Control(Ctl::lvFields).selected;
  if (t == nullptr || i < 0 || i >= static_cast<int>(t->fields.size())) return nullptr;
  return &t->fields[static_cast<std::size_t>(i)];
}

// ---- Tables ----

void DesignerForm::RefreshTableList(int select_index) {
  {
    LoadingScope loading(loading_);
    ControlState& list = Mut(Ctl::lbTables);
    list.items.clear();
    for (const model::Entity& t : project_.entities) list.items.push_back(TableRowText(t));
    const int count = static_cast<int>(list.items.size());
    const int selected = count == 0 ? -1 : select_index >= count ? count - 1 : select_index < 0 ? 0 : select_index;
    list.selected = selected;
  }
  LoadTableEditor();
}

void DesignerForm::LoadTableEditor() {
  {
    LoadingScope loading(loading_);
    const model::Entity* t = CurrentEntity();
    for (Ctl id : kTableGroupControls) Mut(id).enabled = t != nullptr;
    Mut(Ctl::edTableId).text = t ? t->id : "";
    Mut(Ctl::edTableName).text = t ? t->name : "";
    Mut(Ctl::edPageSize).text = t ? std::to_string(t->page_size) : "";
    Mut(Ctl::chkTimestamps).checked = t != nullptr && t->timestamps;
    Mut(Ctl::chkExportCsv).checked = t != nullptr && t->export_csv.value_or(false);
    Mut(Ctl::chkImportCsv).checked = t != nullptr && t->import_csv.value_or(false);
    Mut(Ctl::chkDetailPage).checked = t != nullptr && t->detail_page.value_or(false);
    Mut(Ctl::chkFullTextSearch).checked = t != nullptr && t->full_text_search.value_or(false);
    if (t) {
      FillDisplayFieldCombo();
    } else {
      Mut(Ctl::cbDisplayField).items.clear();
      Mut(Ctl::cbDisplayField).selected = -1;
    }
  }
  LoadAccessEditor();
  RefreshFieldList(0);
}

void DesignerForm::FillDisplayFieldCombo() {
  ControlState& combo = Mut(Ctl::cbDisplayField);
  combo.items = {std::string(texts::kAutomaticDisplayField), "id"};
  const model::Entity* t = CurrentEntity();
  if (t)
    for (const model::Field& f : t->fields)
      if (f.type != "password") combo.items.push_back(f.name);
  const bool automatic = t == nullptr || t->display_field.empty();
  combo.selected = automatic ? 0 : IndexOfItem(combo.items, t->display_field, 1);
}

void DesignerForm::TableSettingChanged(Ctl sender) {
  model::Entity* t = CurrentEntity();
  if (loading_ || t == nullptr) return;
  const std::string old_id = t->id;
  const std::string old_name = t->name;
  switch (sender) {
    case Ctl::edTableName:
      t->name = Control(Ctl::edTableName).text;
      if (t->id.empty() || t->id == model::SanitizeIdentifier(old_name, "")) {
        t->id = model::SanitizeIdentifier(t->name, "table");
        LoadingScope loading(loading_);
        Mut(Ctl::edTableId).text = t->id;
      }
      break;
    case Ctl::edTableId:
      t->id = Trim(Control(Ctl::edTableId).text);
      break;
    case Ctl::cbDisplayField:
      t->display_field = Control(Ctl::cbDisplayField).selected > 0 ? Control(Ctl::cbDisplayField).SelectedText() : "";
      break;
    case Ctl::edPageSize:
      if (const auto size = model::ParseWholeNumber(Control(Ctl::edPageSize).text)) t->page_size = *size;
      break;
    case Ctl::chkTimestamps:
      t->timestamps = Control(Ctl::chkTimestamps).checked;
      break;
    case Ctl::chkExportCsv:
      SetFlag(t->export_csv, Control(sender).checked);
      break;
    case Ctl::chkImportCsv:
      SetFlag(t->import_csv, Control(sender).checked);
      break;
    case Ctl::chkDetailPage:
      SetFlag(t->detail_page, Control(sender).checked);
      break;
    case Ctl::chkFullTextSearch:
      SetFlag(t->full_text_search, Control(sender).checked);
      break;
    default:
      break;
  }
  if (t->id != old_id) RenameLookupEntity(old_id, t->id);
  if (t->id != old_id || t->name != old_name) {
    ControlState& list = Mut(Ctl::lbTables);
    list.items[static_cast<std::size_t>(list.selected)] = TableRowText(*t);
  }
  MarkModified();
}

// The lookups that pointed to the current table when its renaming began follow each keystroke;
// a lookup to another table is never touched, also when the text passes through that table's id.
void DesignerForm::RenameLookupEntity(std::string_view old_id, std::string_view new_id) {
  FollowRenaming(new_id, [&](std::vector<std::string*>& references) {
    // The current table holds the new id already. When another table has the old id too, the
    // lookups' target is unknown, so none follows.
    const model::Entity* renamed = CurrentEntity();
    const auto other_with_old_id = [&](const model::Entity& t) { return &t != renamed && SameTextAscii(t.id, old_id); };
    if (old_id.empty() || std::any_of(project_.entities.begin(), project_.entities.end(), other_with_old_id)) return;
    for (model::Entity& table : project_.entities)
      for (model::Field& f : table.fields)
        if (SameTextAscii(f.lookup_entity, old_id)) references.push_back(&f.lookup_entity);
  });
}

void DesignerForm::AddTable() {
  model::Entity t;
  std::size_t n = project_.entities.size() + 1;
  std::string candidate;
  do {
    candidate = "table_" + std::to_string(n++);
  } while (project_.FindEntity(candidate) != nullptr);
  t.name = "New table";
  t.id = model::SanitizeIdentifier(t.name, candidate);
  if (project_.FindEntity(t.id) != nullptr) t.id = candidate;
  model::Field name;
  name.name = "name";
  name.label = "Name";
  name.type = "string";
  name.required = true;
  name.ApplyTypeDefaults();
  t.fields.push_back(std::move(name));
  project_.entities.push_back(std::move(t));
  RefreshTableList(static_cast<int>(project_.entities.size()) - 1);
  MarkModified();
  UpdateStatus();
  if (Control(Ctl::edTableName).enabled) {
    focus_ = Ctl::edTableName;
    ++focus_requests_;
  }
}

void DesignerForm::DeleteTable() {
  const model::Entity* t = CurrentEntity();
  if (t == nullptr) return;
  const std::string id = t->id;
  std::string references;
  for (const model::Entity& u : project_.entities) {
    if (&u == t) continue;
    for (const model::Field& f : u.fields)
      if (SameTextAscii(f.lookup_entity, id)) references += "\r\n  " + u.id + "." + f.name;
  }
  if (!references.empty()) {
    const std::string question = "Table \"" + id + "\" is used by these lookup fields:" + references +
                                 "\r\n\r\nDelete it anyway? Those lookups will need a new target.";
    if (ui_.ShowMessage(MessageKind::Warning, MessageButtons::YesNo, question) != MessageAnswer::Yes) return;
    for (model::Entity& u : project_.entities)
      for (model::Field& f : u.fields)
        if (SameTextAscii(f.lookup_entity, id)) f.lookup_entity.clear();
  } else {
    const std::string question = "Delete table \"" + id + "\" from the design?\r\n" +
                                 "(Existing data in an already generated database is not deleted.)";
    if (ui_.ShowMessage(MessageKind::Confirmation, MessageButtons::YesNo, question) != MessageAnswer::Yes) return;
  }
  const int index = Control(Ctl::lbTables).selected;
  project_.entities.erase(project_.entities.begin() + index);
  RefreshTableList(index);
  MarkModified();
  UpdateStatus();
}

void DesignerForm::MoveTable(int delta) {
  const int i = Control(Ctl::lbTables).selected;
  const int target = i + delta;
  if (i < 0 || target < 0 || target >= static_cast<int>(project_.entities.size())) return;
  std::swap(project_.entities[static_cast<std::size_t>(i)], project_.entities[static_cast<std::size_t>(target)]);
  RefreshTableList(target);
  MarkModified();
}

// ---- Fields ----

void DesignerForm::RefreshFieldList(int select_index) {
  {
    LoadingScope loading(loading_);
    const model::Entity* t = CurrentEntity();
    field_rows_.clear();
    if (t)
      for (const model::Field& f : t->fields) FillFieldItem(field_rows_.emplace_back(), f);
    const int count = static_cast<int>(field_rows_.size());
    Mut(Ctl::lvFields).selected = count == 0 ? -1 : std::clamp(select_index, 0, count - 1);
  }
  LoadFieldEditor();
}

void DesignerForm::FillFieldItem(FieldRow& row, const model::Field& f) const {
  const int type_index = model::FieldTypeIndex(f.type);
  row[0] = f.name;
  row[1] = f.label;
  row[2] = type_index >= 0 ? std::string(model::kFieldTypeLabels[static_cast<std::size_t>(type_index)])
                           : f.type + " (unsupported)";
  row[3] = model::TypeHasLength(f.type) ? std::to_string(f.max_length) : "";
  row[4] = YesOrEmpty(f.required);
  row[5] = YesOrEmpty(f.unique);
  row[6] = YesOrEmpty(f.show_in_list);
  row[7] = YesOrEmpty(f.searchable);
  std::string details;
  if (f.type == "select") details = "Options: " + OptionsDetail(f.options);
  if (f.type == "lookup") details = "-> " + f.lookup_entity + (f.lookup_field.empty() ? "" : "." + f.lookup_field);
  if (!f.default_value.empty()) details += (details.empty() ? "" : "; ") + std::string("Default: ") + f.default_value;
  row[8] = std::move(details);
}

void DesignerForm::LoadFieldEditor() {
  {
    LoadingScope loading(loading_);
    const model::Field* f = CurrentField();
    Mut(Ctl::edFieldName).text = f ? f->name : "";
    Mut(Ctl::edFieldLabel).text = f ? f->label : "";
    Mut(Ctl::cbFieldType).selected = f ? model::FieldTypeIndex(f->type) : -1;
    Mut(Ctl::edLength).text = f ? std::to_string(f->max_length) : "";
    Mut(Ctl::edDefault).text = f ? f->default_value : "";
    Mut(Ctl::edHelp).text = f ? f->help : "";
    Mut(Ctl::chkRequired).checked = f && f->required;
    Mut(Ctl::chkUnique).checked = f && f->unique;
    Mut(Ctl::chkShowInList).checked = f && f->show_in_list;
    Mut(Ctl::chkSearchable).checked = f && f->searchable;
    Mut(Ctl::chkFilter).checked = f && TypeCanFilter(f->type) && f->filter.value_or(false);
    Mut(Ctl::chkIndex).checked = f && TypeCanIndex(f->type) && f->index.value_or(false);
    const bool lookup = f && f->type == "lookup";
    Mut(Ctl::chkListOnParent).checked = lookup && f->list_on_parent.value_or(false);
    Mut(Ctl::cbOnDelete).selected = lookup ? OnDeleteEntry(f->on_delete) : -1;
    std::string options;
    if (f)
      for (const std::string& option : f->options) options += option + "\r\n";
    Mut(Ctl::mmOptions).text = std::move(options);
    ControlState& entities = Mut(Ctl::cbLookupEntity);
    entities.items.clear();
    if (f) {
      for (const model::Entity& table : project_.entities) entities.items.push_back(table.id);
      entities.selected = IndexOfItem(entities.items, f->lookup_entity);
      FillLookupFieldCombo();
    } else {
      entities.selected = -1;
      Mut(Ctl::cbLookupField).items.clear();
      Mut(Ctl::cbLookupField).selected = -1;
    }
  }
  UpdateFieldEditorState();
}

void DesignerForm::FillLookupFieldCombo() {
  ControlState& combo = Mut(Ctl::cbLookupField);
  combo.items = {std::string(texts::kTargetDisplayField), "id"};
  const model::Field* f = CurrentField();
  if (f == nullptr) {
    combo.selected = -1;
    return;
  }
  if (const model::Entity* target = project_.FindEntity(f->lookup_entity))
    for (const model::Field& candidate : target->fields)
      if (candidate.type != "password" && candidate.type != "boolean") combo.items.push_back(candidate.name);
  combo.selected = f->lookup_field.empty() ? 0 : IndexOfItem(combo.items, f->lookup_field, 1);
}

void DesignerForm::UpdateFieldEditorState() {
  const model::Field* f = CurrentField();
  const std::string type = f ? f->type : "";
  Mut(Ctl::grpField).enabled = f != nullptr;
  for (Ctl id : {Ctl::lblOptions, Ctl::mmOptions}) Mut(id).visible = type == "select";
  for (Ctl id : {Ctl::lblLookupEntity, Ctl::cbLookupEntity, Ctl::lblLookupField, Ctl::cbLookupField,
                 Ctl::chkListOnParent, Ctl::lblOnDelete, Ctl::cbOnDelete})
    Mut(id).visible = type == "lookup";
  for (Ctl id : {Ctl::chkListOnParent, Ctl::cbOnDelete}) Mut(id).enabled = type == "lookup";
  for (Ctl id : {Ctl::lblLength, Ctl::edLength}) Mut(id).visible = model::TypeHasLength(type);
  Mut(Ctl::chkUnique).enabled = f != nullptr && type != "text" && type != "password" && type != "boolean";
  Mut(Ctl::chkFilter).enabled = TypeCanFilter(type);
  Mut(Ctl::chkIndex).enabled = TypeCanIndex(type);
  Mut(Ctl::edDefault).hint = type == "boolean" ? "true or false" : type == "date" ? "YYYY-MM-DD" : "";
}

void DesignerForm::FieldSettingChanged(Ctl sender) {
  model::Entity* t = CurrentEntity();
  model::Field* f = CurrentField();
  if (loading_ || f == nullptr || t == nullptr) return;
  const std::string old_name = f->name;
  const std::string old_label = f->label;
  switch (sender) {
    case Ctl::edFieldLabel:
      f->label = Control(Ctl::edFieldLabel).text;
      if (f->name.empty() || f->name == model::SanitizeIdentifier(old_label, "")) {
        f->name = model::SanitizeIdentifier(f->label, "field");
        LoadingScope loading(loading_);
        Mut(Ctl::edFieldName).text = f->name;
      }
      break;
    case Ctl::edFieldName: f->name = Trim(Control(Ctl::edFieldName).text); break;
    case Ctl::edLength:
      if (const auto length = model::ParseWholeNumber(Control(Ctl::edLength).text)) f->max_length = *length;
      break;
    case Ctl::edDefault: f->default_value = Control(Ctl::edDefault).text; break;
    case Ctl::edHelp: f->help = Control(Ctl::edHelp).text; break;
    case Ctl::chkRequired: f->required = Control(sender).checked; break;
    case Ctl::chkUnique: f->unique = Control(sender).checked; break;
    case Ctl::chkShowInList: f->show_in_list = Control(sender).checked; break;
    case Ctl::chkSearchable: f->searchable = Control(sender).checked; break;
    case Ctl::chkFilter: SetFlag(f->filter, Control(sender).checked); break;
    case Ctl::chkIndex: SetFlag(f->index, Control(sender).checked); break;
    case Ctl::chkListOnParent: SetFlag(f->list_on_parent, Control(sender).checked); break;
    case Ctl::cbOnDelete:
      // "Refuse" is what a lookup without the key does, so it takes the key away.
      if (const int entry = Control(sender).selected; entry > 0)
        f->on_delete = std::string(kOnDeleteKeys[static_cast<std::size_t>(entry)]);
      else
        f->on_delete.reset();
      break;
    case Ctl::mmOptions: f->options = OptionLines(Control(Ctl::mmOptions).text); break;
    case Ctl::cbLookupEntity: {
      f->lookup_entity = Control(Ctl::cbLookupEntity).SelectedText();
      f->lookup_field.clear();
      LoadingScope loading(loading_);
      FillLookupFieldCombo();
      break;
    }
    case Ctl::cbLookupField:
      f->lookup_field = Control(Ctl::cbLookupField).selected > 0 ? Control(Ctl::cbLookupField).SelectedText() : "";
      break;
    default:
      break;
  }
  if (f->name != old_name) {
    RenameLookupField(*t, old_name, f->name);
    LoadingScope loading(loading_);
    FillDisplayFieldCombo();
  }
  RefreshSelectedFieldRow();
  MarkModified();
}

// The display field and the lookups that showed the current field when its renaming began follow
// each keystroke, as a table's lookups do.
void DesignerForm::RenameLookupField(model::Entity& t, std::string_view old_name, std::string_view new_name) {
  FollowRenaming(new_name, [&](std::vector<std::string*>& references) {
    const model::Field* renamed = CurrentField();
    const auto other_with_old_name = [&](const model::Field& f) {
      return &f != renamed && SameTextAscii(f.name, old_name);
    };
    if (old_name.empty() || std::any_of(t.fields.begin(), t.fields.end(), other_with_old_name)) return;
    if (SameTextAscii(t.display_field, old_name)) references.push_back(&t.display_field);
    for (model::Entity& table : project_.entities)
      for (model::Field& f : table.fields)
        if (SameTextAscii(f.lookup_entity, t.id) && SameTextAscii(f.lookup_field, old_name))
          references.push_back(&f.lookup_field);
  });
}

void DesignerForm::RefreshSelectedFieldRow() {
  const model::Field* f = CurrentField();
  if (f) FillFieldItem(field_rows_[static_cast<std::size_t>(Control(Ctl::lvFields).selected)], *f);
}

void DesignerForm::FieldTypeChanged() {
  model::Field* f = CurrentField();
  const int index = Control(Ctl::cbFieldType).selected;
  if (loading_ || f == nullptr || index < 0) return;
  f->type = std::string(model::kFieldTypeKeys[static_cast<std::size_t>(index)]);
  f->ApplyTypeDefaults();
  // A type the filter bar cannot offer drops the filter, as it drops "unique" where that cannot be.
  if (f->filter.value_or(false) && !TypeCanFilter(f->type)) f->filter.reset();
  if (f->index.value_or(false) && !TypeCanIndex(f->type)) f->index.reset();
  // The relation keys are for lookups only.
  if (f->type != "lookup") {
    if (f->list_on_parent.value_or(false)) f->list_on_parent.reset();
    f->on_delete.reset();
  }
  if (f->type == "lookup" && f->lookup_entity.empty()) f->lookup_entity = GuessLookupEntity(f->name);
  LoadFieldEditor();
  RefreshSelectedFieldRow();
  MarkModified();
}

std::string DesignerForm::GuessLookupEntity(std::string_view field_name) const {
  std::string base = AsciiLower(field_name);
  if (base.size() > 3 && base.ends_with("_id")) base.resize(base.size() - 3);
  for (const std::string& candidate : {base, base + "s", base + "es"})
    if (const model::Entity* t = project_.FindEntity(candidate)) return t->id;
  const int current = Control(Ctl::lbTables).selected;
  for (std::size_t i = 0; i < project_.entities.size(); ++i)
    if (static_cast<int>(i) != current) return project_.entities[i].id;
  return "";
}

void DesignerForm::AddField() {
  model::Entity* t = CurrentEntity();
  if (t == nullptr) {
    ui_.ShowMessage(MessageKind::Information, MessageButtons::Ok, texts::kAddTableFirst);
    return;
  }
  model::Field f;
  std::size_t n = t->fields.size() + 1;
  for (f.name = "field_" + std::to_string(n); t->FieldByName(f.name) != nullptr;)
    f.name = "field_" + std::to_string(++n);
  f.label = "Field " + std::to_string(n);
  f.name = model::SanitizeIdentifier(f.label, f.name);
  f.type = "string";
  f.ApplyTypeDefaults();
  t->fields.push_back(std::move(f));
  FillDisplayFieldCombo();
  RefreshFieldList(static_cast<int>(t->fields.size()) - 1);
  MarkModified();
  if (Control(Ctl::grpField).enabled) {
    focus_ = Ctl::edFieldLabel;
    ++focus_requests_;
  }
}

void DesignerForm::DeleteField() {
  model::Entity* t = CurrentEntity();
  const model::Field* f = CurrentField();
  if (t == nullptr || f == nullptr) return;
  const std::string question = "Delete field \"" + f->name + "\" from the design?\r\n" +
                               "(An existing database column is kept; it is simply no longer used.)";
  if (ui_.ShowMessage(MessageKind::Confirmation, MessageButtons::YesNo, question) != MessageAnswer::Yes) return;
  if (SameTextAscii(t->display_field, f->name)) t->display_field.clear();
  const int index = Control(Ctl::lvFields).selected;
  t->fields.erase(t->fields.begin() + index);
  {
    LoadingScope loading(loading_);
    FillDisplayFieldCombo();
  }
  RefreshFieldList(index);
  MarkModified();
}

void DesignerForm::MoveField(int delta) {
  model::Entity* t = CurrentEntity();
  const int i = Control(Ctl::lvFields).selected;
  if (t == nullptr || i < 0) return;
  const int target = i + delta;
  if (target < 0 || target >= static_cast<int>(t->fields.size())) return;
  std::swap(t->fields[static_cast<std::size_t>(i)], t->fields[static_cast<std::size_t>(target)]);
  RefreshFieldList(target);
  MarkModified();
}

}  // namespace qb::designer
