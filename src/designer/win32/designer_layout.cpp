// The designer's layout table.
#include "designer/win32/designer_layout.hpp"

namespace qb::designer::win32 {
namespace {

constexpr int C(Ctl id) { return static_cast<int>(id); }
constexpr unsigned LT = kLeft | kTop, LB = kLeft | kBottom, RB = kRight | kBottom, RT = kRight | kTop,
                   LTR = kLeft | kTop | kRight, LRB = kLeft | kRight | kBottom, LTB = kLeft | kTop | kBottom,
                   ALL = kLeft | kTop | kRight | kBottom;
constexpr int kDrop = 24 * 17;  // a drop-down list shows 16 entries

}  // namespace

const std::vector<Placement>& DesignerPlacements() {
  static const std::vector<Placement> placements = {
      // Bottom bar.
      {Kind::Label, C(Ctl::lblStatus), -1, "", 8, 622, 1040, 18, LRB},
      {Kind::Button, C(Ctl::btnNew), -1, "New", 8, 650, 70, 28, LB},
      {Kind::Button, C(Ctl::btnOpen), -1, "Open...", 82, 650, 80, 28, LB},
      {Kind::Button, C(Ctl::btnSave), -1, "Save", 166, 650, 70, 28, LB},
      {Kind::Button, C(Ctl::btnSaveAs), -1, "Save As...", 240, 650, 86, 28, LB},
      {Kind::Button, C(Ctl::btnValidate), -1, "Validate", 330, 650, 80, 28, LB},
      {Kind::Button, C(Ctl::btnGenerate), -1, "Generate Web App...", 414, 650, 150, 28, LB},
      {Kind::Button, C(Ctl::btnSaveAndClose), -1, "Save && Close", 844, 650, 116, 28, RB},
      {Kind::Button, C(Ctl::btnCancel), -1, "Cancel", 966, 650, 84, 28, RB},
      // "Project && Database".
      {Kind::Group, -1, 0, " Application ", 16, 38, 480, 300, LT},
      {Kind::Label, -1, 0, "Project ID (lowercase, digits, hyphens):", 28, 60, 456, 18, LT},
      {Kind::Edit, C(Ctl::edProjectId), 0, "", 28, 78, 456, 24, LT},
      {Kind::Label, -1, 0, "Application name:", 28, 108, 456, 18, LT},
      {Kind::Edit, C(Ctl::edProjectName), 0, "", 28, 126, 456, 24, LT},
      {Kind::Label, -1, 0, "Version:", 28, 156, 120, 18, LT},
      {Kind::Edit, C(Ctl::edVersion), 0, "", 28, 174, 120, 24, LT},
      {Kind::Label, -1, 0, "CSS framework:", 160, 156, 200, 18, LT},
      {Kind::Combo, C(Ctl::cbCSS), 0, "", 160, 174, 200, kDrop, LT},
      {Kind::Check, C(Ctl::chkShipBootstrap), 0, "Ship Bootstrap with the app (works offline)", 28, 206, 456, 20,
       LT},
      {Kind::Check, C(Ctl::chkPWA), 0, "Installable PWA (manifest + service worker)", 28, 230, 456, 20, LT},
      {Kind::Check, C(Ctl::chkAPI), 0, "API health endpoint (public/api/health.php)", 28, 254, 456, 20, LT},
      {Kind::Label, -1, 0, "Default output folder (relative to the JSON file or absolute):", 28, 280, 456, 18, LT},
      {Kind::Edit, C(Ctl::edOutput), 0, "", 28, 298, 360, 24, LT},
      {Kind::Button, C(Ctl::btnBrowseOutput), 0, "Browse...", 394, 297, 90, 26, LT},
      {Kind::Group, -1, 0, " Database ", 506, 38, 520, 300, LT},
      {Kind::Label, -1, 0, "Database engine:", 518, 60, 300, 18, LT},
      {Kind::Combo, C(Ctl::cbEngine), 0, "", 518, 78, 300, kDrop, LT},
      {Kind::Label, -1, 0, "Host:", 518, 108, 360, 18, LT},
      {Kind::Edit, C(Ctl::edHost), 0, "", 518, 126, 360, 24, LT},
      {Kind::Label, -1, 0, "Port:", 888, 108, 126, 18, LT},
      {Kind::Edit, C(Ctl::edPort), 0, "", 888, 126, 126, 24, LT},
      {Kind::Label, -1, 0, "Database name:", 518, 156, 496, 18, LT},
      {Kind::Edit, C(Ctl::edDBName), 0, "", 518, 174, 496, 24, LT},
      {Kind::Label, -1, 0, "Username:", 518, 204, 240, 18, LT},
      {Kind::Edit, C(Ctl::edUser), 0, "", 518, 222, 240, 24, LT},
      {Kind::Label, -1, 0, "Password:", 768, 204, 246, 18, LT},
      {Kind::Password, C(Ctl::edPassword), 0, "", 768, 222, 246, 24, LT},
      {Kind::Check, C(Ctl::chkWriteEnv), 0, "Write these settings to the generated .env file", 518, 256, 496, 20, LT},
      {Kind::GreyLabel, -1, 0,
       "The password is stored in the project JSON and .env - do not share them publicly.", 518, 282, 496, 36, LT},
      {Kind::WrappedLabel, -1, 0,
       "Tables are created automatically on first run (SQLite file or the MySQL/MariaDB database above, which must "
       "already exist). Adding tables or fields later and regenerating adds them without losing data.",
       16, 350, 1010, 40, LTR},
      {Kind::Group, -1, 0, " Sign-in and roles ", 16, 396, 1010, 156, LT},
      {Kind::Check, C(Ctl::chkSignIn), 0, "Require sign-in (content pages stay public)", 28, 416,
       480, 20, LT},
      {Kind::Label, -1, 0, "Roles:", 28, 442, 240, 18, LT},
      {Kind::List, C(Ctl::lbRoles), 0, "", 28, 460, 240, 80, LT},
      {Kind::Label, -1, 0, "Role name (a-z, 0-9, _):", 280, 460, 200, 18, LT},
      {Kind::Edit, C(Ctl::edRoleName), 0, "", 280, 478, 200, 24, LT},
      {Kind::Button, C(Ctl::btnAddRole), 0, "Add role", 280, 512, 95, 26, LT},
      {Kind::Button, C(Ctl::btnRemoveRole), 0, "Remove role", 380, 512, 100, 26, LT},
      {Kind::GreyLabel, -1, 0,
       "admin always exists and may do everything. What the other roles may do with each table is set on the "
       "Tables && Fields tab, under Access by role.",
       500, 460, 510, 40, LT},
      // "Tables && Fields".
      {Kind::Label, -1, 1, "Tables", 16, 38, 210, 18, LT},
      {Kind::List, C(Ctl::lbTables), 1, "", 16, 58, 210, 418, LTB},
      {Kind::Button, C(Ctl::btnAddTable), 1, "Add table", 16, 482, 95, 26, LB},
      {Kind::Button, C(Ctl::btnDeleteTable), 1, "Delete", 116, 482, 95, 26, LB},
      {Kind::Button, C(Ctl::btnTableUp), 1, "Move up", 16, 512, 95, 26, LB},
      {Kind::Button, C(Ctl::btnTableDown), 1, "Move down", 116, 512, 95, 26, LB},
      {Kind::WrappedLabel, C(Ctl::lblHint), 1, "", 16, 544, 194, 44, LB},
      {Kind::Group, -1, 1, " Table ", 236, 38, 808, 90, LTR},
      {Kind::Label, -1, 1, "Table name (a-z, 0-9, _):", 248, 56, 160, 18, LT},
      {Kind::Edit, C(Ctl::edTableId), 1, "", 248, 74, 160, 24, LT},
      {Kind::Label, -1, 1, "Display label:", 418, 56, 180, 18, LT},
      {Kind::Edit, C(Ctl::edTableName), 1, "", 418, 74, 180, 24, LT},
      {Kind::Label, -1, 1, "Display field (for lookups):", 608, 56, 176, 18, LT},
      {Kind::Combo, C(Ctl::cbDisplayField), 1, "", 608, 74, 176, kDrop, LT},
      {Kind::Label, -1, 1, "Rows/page:", 794, 56, 70, 18, LT},
      {Kind::Edit, C(Ctl::edPageSize), 1, "", 794, 74, 64, 24, LT},
      // The check boxes in a row of their own, inside the group at the smallest width too.
      {Kind::Check, C(Ctl::chkTimestamps), 1, "created_at / updated_at", 248, 102, 164, 20, LT},
      {Kind::Check, C(Ctl::chkExportCsv), 1, "CSV export", 418, 102, 90, 20, LT},
      {Kind::Check, C(Ctl::chkImportCsv), 1, "CSV import", 514, 102, 88, 20, LT},
      {Kind::Check, C(Ctl::chkDetailPage), 1, "Detail page", 608, 102, 96, 20, LT},
      {Kind::Check, C(Ctl::chkFullTextSearch), 1, "Full-text search", 710, 102, 130, 20, LT},
      // Two rows of buttons, which the list keeps beside it at the smallest height.
      {Kind::ListView, C(Ctl::lvFields), 1, "", 236, 136, 596, 122, ALL},
      {Kind::Button, C(Ctl::btnAddField), 1, "Add field", 840, 136, 100, 26, RT},
      {Kind::Button, C(Ctl::btnDeleteField), 1, "Delete field", 944, 136, 100, 26, RT},
      {Kind::Button, C(Ctl::btnFieldUp), 1, "Move up", 840, 166, 100, 26, RT},
      {Kind::Button, C(Ctl::btnFieldDown), 1, "Move down", 944, 166, 100, 26, RT},
      {Kind::Group, -1, 1, " Access by role ", 236, 264, 808, 122, LRB},
      {Kind::Check, C(Ctl::chkLimitAccess), 1, "Limit access by role", 248, 284, 220, 20, LB},
      {Kind::GreyLabel, -1, 1, "Without a limit every role may view, add, edit and delete. Click a box to grant or "
       "take back a right.", 248, 310, 220, 64, LB},
      {Kind::CheckGrid, C(Ctl::lvAccess), 1, "", 480, 282, 552, 96, LRB},
      {Kind::Group, C(Ctl::grpField), 1, " Field ", 236, 392, 808, 208, LRB},
      {Kind::Label, -1, 1, "Field name (a-z, 0-9, _):", 248, 410, 150, 18, LB},
      {Kind::Edit, C(Ctl::edFieldName), 1, "", 248, 428, 150, 24, LB},
      {Kind::Label, -1, 1, "Label shown to users:", 408, 410, 180, 18, LB},
      {Kind::Edit, C(Ctl::edFieldLabel), 1, "", 408, 428, 180, 24, LB},
      {Kind::Label, -1, 1, "Type:", 598, 410, 200, 18, LB},
      {Kind::Combo, C(Ctl::cbFieldType), 1, "", 598, 428, 200, kDrop, LB},
      {Kind::Label, C(Ctl::lblLength), 1, "Max length:", 808, 410, 70, 18, LB},
      {Kind::Edit, C(Ctl::edLength), 1, "", 808, 428, 70, 24, LB},
      // The check boxes end left of the options, which the smallest width moves 80 to the left.
      {Kind::Check, C(Ctl::chkRequired), 1, "Required", 248, 462, 78, 20, LB},
      {Kind::Check, C(Ctl::chkUnique), 1, "Unique", 332, 462, 68, 20, LB},
      {Kind::Check, C(Ctl::chkShowInList), 1, "Show in list", 406, 462, 92, 20, LB},
      {Kind::Check, C(Ctl::chkSearchable), 1, "Searchable", 504, 462, 88, 20, LB},
      {Kind::Check, C(Ctl::chkFilter), 1, "Filter", 598, 462, 60, 20, LB},
      {Kind::Check, C(Ctl::chkIndex), 1, "Index", 664, 462, 60, 20, LB},
      {Kind::Label, C(Ctl::lblOptions), 1, "Options (one per line):", 832, 460, 200, 18, RB},
      {Kind::Memo, C(Ctl::mmOptions), 1, "", 832, 478, 200, 110, RB},
      {Kind::Label, -1, 1, "Default value:", 248, 486, 200, 18, LB},
      {Kind::Edit, C(Ctl::edDefault), 1, "", 248, 504, 200, 24, LB},
      {Kind::Label, -1, 1, "Help text (shown under the input):", 458, 486, 364, 18, LB},
      {Kind::Edit, C(Ctl::edHelp), 1, "", 458, 504, 364, 24, LRB},
      // A lookup's settings in one row, which ends inside the group at the smallest width.
      {Kind::Label, C(Ctl::lblLookupEntity), 1, "Links to table:", 248, 536, 140, 18, LB},
      {Kind::Combo, C(Ctl::cbLookupEntity), 1, "", 248, 554, 140, kDrop, LB},
      {Kind::Label, C(Ctl::lblLookupField), 1, "Show this field of it:", 398, 536, 190, 18, LB},
      {Kind::Combo, C(Ctl::cbLookupField), 1, "", 398, 554, 190, kDrop, LB},
      {Kind::Label, C(Ctl::lblOnDelete), 1, "When the parent is deleted:", 598, 536, 170, 18, LB},
      {Kind::Combo, C(Ctl::cbOnDelete), 1, "", 598, 554, 170, kDrop, LB},
      {Kind::Check, C(Ctl::chkListOnParent), 1, "List on the parent's page", 778, 556, 174, 20, LB},
      // "Pages".
      {Kind::Button, C(Ctl::btnAddPage), 2, "Add page", 16, 46, 90, 28, LT},
      {Kind::Button, C(Ctl::btnDeletePage), 2, "Delete page", 112, 46, 96, 28, LT},
      {Kind::GreyLabel, -1, 2, "Create pages, choose a template, write content, and control navigation visibility.",
       220, 52, 800, 20, LTR},
      {Kind::Grid, C(Ctl::sgPages), 2, "", 16, 82, 1028, 320, ALL},
      {Kind::Panel, C(Ctl::pnlPageEditor), 2, "", 16, 410, 1028, 190, LRB},
      {Kind::Label, -1, 2, "Page template:", 28, 424, 100, 18, LB},
      {Kind::Combo, C(Ctl::cbPageTemplate), 2, "", 130, 420, 210, kDrop, LB},
      {Kind::Check, C(Ctl::chkPageNavigation), 2, "Show in navigation menu", 356, 422, 220, 20, LB},
      {Kind::Label, -1, 2, "Page content / introduction:", 28, 452, 300, 18, LB},
      {Kind::Memo, C(Ctl::edPageContent), 2, "", 28, 472, 1004, 112, LRB},
      // "JSON Preview".
      {Kind::Preview, C(Ctl::mmPreview), 3, "", 16, 38, 1028, 562, ALL},
      // Last, so it lies under everything on its pages.
      {Kind::Tabs, C(Ctl::Tabs), -1, "", 6, 6, 1048, 604, ALL},
  };
  return placements;
}

RECT Anchored(const Placement& p, int width, int height) {
  const int dx = width - kDesignWidth, dy = height - kDesignHeight;
  RECT r{p.x, p.y, p.x + p.width, p.y + p.height};
  if (p.anchors & kRight) {
    r.right += dx;
    if (!(p.anchors & kLeft)) r.left += dx;
  }
  if (p.anchors & kBottom) {
    r.bottom += dy;
    if (!(p.anchors & kTop)) r.top += dy;
  }
  return r;
}

}  // namespace qb::designer::win32
