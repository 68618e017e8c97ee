// The controls of the designer window that hold state or raise events.
#pragma once

#include <cstddef>

namespace qb::designer {

enum class Ctl : std::size_t {
  // Window and bottom bar.
  Tabs,
  lblStatus,
  btnNew,
  btnOpen,
  btnSave,
  btnSaveAs,
  btnValidate,
  btnGenerate,
  btnSaveAndClose,
  btnCancel,
  // "Project && Database".
  edProjectId,
  edProjectName,
  edVersion,
  cbCSS,
  chkShipBootstrap,
  chkPWA,
  chkAPI,
  edOutput,
  btnBrowseOutput,
  cbEngine,
  edHost,
  edPort,
  edDBName,
  edUser,
  edPassword,
  chkWriteEnv,
  chkSignIn,
  lbRoles,
  edRoleName,
  btnAddRole,
  btnRemoveRole,
  // "Tables && Fields".
  lbTables,
  btnAddTable,
  btnDeleteTable,
  btnTableUp,
  btnTableDown,
  lblHint,
  edTableId,
  edTableName,
  cbDisplayField,
  edPageSize,
  chkTimestamps,
  chkExportCsv,
  chkImportCsv,
  chkDetailPage,
  chkFullTextSearch,
  chkLimitAccess,
  lvAccess,
  lvFields,
  btnAddField,
  btnDeleteField,
  btnFieldUp,
  btnFieldDown,
  grpField,
  edFieldName,
  edFieldLabel,
  cbFieldType,
  lblLength,
  edLength,
  chkRequired,
  chkUnique,
  chkShowInList,
  chkSearchable,
  chkFilter,
  chkIndex,
  edDefault,
  edHelp,
  lblOptions,
  mmOptions,
  lblLookupEntity,
  cbLookupEntity,
  lblLookupField,
  cbLookupField,
  chkListOnParent,
  lblOnDelete,
  cbOnDelete,
  // "Pages".
  btnAddPage,
  btnDeletePage,
  sgPages,
  pnlPageEditor,
  cbPageTemplate,
  chkPageNavigation,
  edPageContent,
  // "JSON Preview".
  mmPreview,
  Count
};

inline constexpr std::size_t kControlCount = static_cast<std::size_t>(Ctl::Count);

// The tab page a control sits on, or -1 for the window's own controls.
inline int TabOf(Ctl id) {
  if (id < Ctl::edProjectId) return -1;
  if (id < Ctl::lbTables) return 0;
  if (id < Ctl::btnAddPage) return 1;
  if (id < Ctl::mmPreview) return 2;
  return 3;
}

// The controls inside the field group, which they follow when it is disabled.
inline bool InFieldGroup(Ctl id) { return id >= Ctl::edFieldName && id <= Ctl::cbOnDelete; }

}  // namespace qb::designer
