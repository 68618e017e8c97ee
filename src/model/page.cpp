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
  out.Keep(extra_.get(), {"id", "title", "route", "template", "content", "showInNavigation", "components"});
  out.PutString("id", id);
  out.PutString("title", title);
  out.PutString("route", route);
  out.PutString("template", template_name);
  out.PutString("content", content);
  out.PutBoolean("showInNavigation", show_in_navigation);
  // Components are not part of the model: a loaded value of any kind is kept, and written last
  // like a new page's empty list, so a saved file saves the same again.
  const json::Value* components = extra_ == nullptr ? nullptr : extra_->Find("components");
  if (components == nullptr) out.PutStrings("components", {});
  else out.PutValue("components", *components);
}

template void Page::WritePairs(PairWriter&) const;
template void Page::WritePairs(PairEmitter&) const;

json::Value Page::ToJson() const {
  PairWriter out;
  WritePairs(out);
  return out.Take();
}

}  // namespace qb::model
