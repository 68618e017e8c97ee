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

json::Value Page::ToJson() const {
  PairWriter out(extra_.get(), {"id", "title", "route", "template", "content", "showInNavigation"});
  out.Put("id", json::Value::String(id));
  out.Put("title", json::Value::String(title));
  out.Put("route", json::Value::String(route));
  out.Put("template", json::Value::String(template_name));
  out.Put("content", json::Value::String(content));
  out.Put("showInNavigation", json::Value::Boolean(show_in_navigation));
  json::Value obj = out.Take();
  if (obj.Find("components") == nullptr) obj.Set("components", json::Value::Array());
  return obj;
}

}  // namespace qb::model
