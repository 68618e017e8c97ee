// Page loading and saving.
#include "model/page.hpp"

#include "model/json_access.hpp"

namespace qb::model {

void Page::LoadFromJson(const json::Value& obj) { LoadFromJson(std::make_shared<const json::Value>(obj)); }

void Page::LoadFromJson(std::shared_ptr<const json::Value> shared) {
  const json::Value& obj = *shared;
  extra_ = std::move(shared);
  id = JsonStr(&obj, "id", "");
  title = JsonStr(&obj, "title", id);
  route = JsonStr(&obj, "route", "/" + id);
  template_name = JsonStr(&obj, "template", "standard");
  content = JsonStr(&obj, "content", "");
  show_in_navigation = JsonBool(&obj, "showInNavigation", true);
}

template <typename Sink>
void Page::WritePairs(Sink& out) const {
  out.Keep(extra_.get(), {"id", "title", "route", "template", "content", "showInNavigation"});
  out.PutString("id", id);
  out.PutString("title", title);
  out.PutString("route", route);
  out.PutString("template", template_name);
  out.PutString("content", content);
  out.PutBoolean("showInNavigation", show_in_navigation);
  if (extra_ == nullptr || extra_->Find("components") == nullptr) out.PutStrings("components", {});
}

template void Page::WritePairs(PairWriter&) const;
template void Page::WritePairs(PairEmitter&) const;

json::Value Page::ToJson() const {
  PairWriter out;
  WritePairs(out);
  return out.Take();
}

}  // namespace qb::model
