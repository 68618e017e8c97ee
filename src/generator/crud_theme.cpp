// CRUD theme parameters and stylesheet.
#include "generator/crud_theme.hpp"

#include <algorithm>
#include <array>

#include "core/utf8.hpp"
#include "generator/line_writer.hpp"

namespace qb::gen {
namespace {

template <std::size_t N>
std::string OneOf(std::string_view value, const std::array<std::string_view, N>& allowed, std::string_view fallback) {
  const std::string v = AsciiLower(Trim(value));
  return std::find(allowed.begin(), allowed.end(), v) != allowed.end() ? v : std::string(fallback);
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

}  // namespace

std::string NormalizePreset(std::string_view preset) {
  static constexpr std::array<std::string_view, 4> kPresets = {"studio", "midnight", "editorial", "campus"};
  return OneOf(preset, kPresets, kDefaultPreset);
}

std::string NormalizeLayout(std::string_view layout) {
  static constexpr std::array<std::string_view, 3> kLayouts = {"wide", "centered", "dashboard"};
  return OneOf(layout, kLayouts, kDefaultLayout);
}

std::string NormalizeAccent(std::string_view accent) {
  const std::string a = Trim(accent);
  const bool valid = a.size() == 7 && a[0] == '#' && std::all_of(a.begin() + 1, a.end(), IsHexDigit);
  return valid ? a : std::string(kDefaultAccent);
}

std::string BuildThemeCss(std::string_view accent) {
  LineWriter w;
  w.Line(":root{--ktb-accent:" + std::string(accent) +
         ";--ktb-ink:#172033;--ktb-muted:#64748b;--ktb-surface:#ffffff;--ktb-page:#f4f7fb;--ktb-line:#e5eaf2;}");
  w.Line("body.ktb-theme-studio{background:linear-gradient(135deg,#f6f8ff 0%,#f8fafc 52%,#eef5ff 100%);color:var(--ktb-ink);"
         "font-family:Inter,ui-sans-serif,system-ui,-apple-system,\"Segoe UI\",sans-serif;}");
  w.Line("body.ktb-theme-midnight{background:#0b1220;color:#e5eaf5;--ktb-surface:#121d30;--ktb-page:#0b1220;"
         "--ktb-line:#29364c;--ktb-ink:#e5eaf5;--ktb-muted:#a6b4ca;}");
  w.Line("body.ktb-theme-editorial{background:#f7f3eb;color:#29251f;--ktb-surface:#fffdf8;--ktb-page:#f7f3eb;"
         "--ktb-line:#e7ddcc;--ktb-ink:#29251f;--ktb-muted:#776b5d;font-family:Georgia,\"Times New Roman\",serif;}");
  w.Line("body.ktb-theme-campus{background:#f1f7f4;color:#18332b;--ktb-surface:#ffffff;--ktb-page:#f1f7f4;"
         "--ktb-line:#d8e8df;--ktb-ink:#18332b;--ktb-muted:#587368;}");
  w.Line(".ktb-shell{max-width:100%;padding-left:clamp(1rem,3vw,3rem)!important;padding-right:clamp(1rem,3vw,3rem)!important;}");
  w.Line("body.ktb-layout-centered .ktb-shell{max-width:1080px!important;margin-inline:auto;}");
  w.Line("body.ktb-layout-wide .ktb-shell{max-width:1600px!important;margin-inline:auto;}");
  w.Line("body.ktb-layout-dashboard .ktb-shell{max-width:1440px!important;margin-inline:auto;}");
  w.Line("body .ktb-shell>header{background:var(--ktb-surface);border:1px solid var(--ktb-line)!important;"
         "border-radius:18px;padding:1rem 1.25rem;margin-bottom:2rem!important;box-shadow:0 8px 28px rgba(15,23,42,.06);}");
  w.Line("body .ktb-shell>header>a{color:var(--ktb-ink)!important;font-weight:800;letter-spacing:-.03em;}");
  // The header's menu only: a list's pager is a nav too, and keeps Bootstrap's look.
  w.Line("body .ktb-shell>header nav a{padding:.55rem .8rem;border-radius:9px;color:var(--ktb-muted)!important;font-weight:600;"
         "transition:background .18s,color .18s;}");
  w.Line("body .ktb-shell>header nav a:hover{background:color-mix(in srgb,var(--ktb-accent) 12%,transparent);"
         "color:var(--ktb-accent)!important;}");
  w.Line("body .ktb-shell h1{font-weight:850;letter-spacing:-.045em;}");
  w.Line("body .ktb-shell>section.py-4>.mb-4{position:relative;isolation:isolate;overflow:hidden;"
         "padding:clamp(1.6rem,4vw,3.2rem)!important;border-radius:26px;background:radial-gradient(circle at 90% 10%,"
         "color-mix(in srgb,var(--ktb-accent) 24%,transparent),transparent 30%),linear-gradient(120deg,"
         "var(--ktb-surface),color-mix(in srgb,var(--ktb-accent) 7%,var(--ktb-surface)));"
         "border:1px solid var(--ktb-line);box-shadow:0 16px 42px rgba(15,23,42,.07);}");
  w.Line("body .ktb-shell>section.py-4>.mb-4 .badge{border-radius:999px;padding:.5rem .8rem;letter-spacing:.06em;"
         "text-transform:uppercase;font-size:.68rem;}");
  w.Line("body .ktb-shell>section.py-4>.mb-4 h1{font-size:clamp(2rem,4vw,3.4rem);max-width:18ch;margin:.35rem 0 .8rem;}");
  w.Line("body .ktb-shell>section.py-4>.mb-4 p{font-size:1.05rem;max-width:58ch;margin-bottom:0;}");
  w.Line("body .ktb-shell .card{background:var(--ktb-surface);color:var(--ktb-ink);border:1px solid var(--ktb-line)!important;"
         "border-radius:18px!important;box-shadow:0 10px 30px rgba(15,23,42,.07)!important;overflow:hidden;"
         "transition:transform .18s,box-shadow .18s;}");
  w.Line("body .ktb-shell .card:hover{transform:translateY(-3px);box-shadow:0 18px 40px rgba(15,23,42,.12)!important;}");
  w.Line("body .ktb-shell .card-body{padding:1.6rem!important;}");
  w.Line("body .ktb-shell .text-primary,body .ktb-shell .link-primary{color:var(--ktb-accent)!important;}");
  w.Line("body .ktb-shell .badge.text-bg-primary,body .ktb-shell .btn-primary{background:var(--ktb-accent)!important;"
         "border-color:var(--ktb-accent)!important;}");
  w.Line("body .ktb-shell .btn{border-radius:10px;font-weight:650;padding:.62rem .95rem;}");
  w.Line("body .ktb-shell .form-control,body .ktb-shell .form-select{border-radius:10px;border-color:var(--ktb-line);"
         "padding:.7rem .85rem;}");
  // A select keeps room for its arrow.
  w.Line("body .ktb-shell .form-select{padding-right:2.25rem;}");
  w.Line("body .ktb-shell .table{--bs-table-bg:var(--ktb-surface);color:var(--ktb-ink);border-color:var(--ktb-line);}");
  w.Line("body .ktb-shell .text-secondary{color:var(--ktb-muted)!important;}");
  w.Line("body.ktb-theme-midnight .ktb-shell .card,body.ktb-theme-midnight .ktb-shell>header{background:var(--ktb-surface);}");
  w.Line("@media(max-width:700px){body .ktb-shell>header{align-items:flex-start!important}body .ktb-shell>header nav{gap:.25rem!important}"
         "body .ktb-shell>header nav a{padding:.45rem .55rem}}");
  return w.Text();
}

}  // namespace qb::gen
