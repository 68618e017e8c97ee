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
  json::Value obj = CloneOrNew(extra_.get());
  PutPair(obj, "id", json::Value::String(id));
  PutPair(obj, "title", json::Value::String(title));
  PutPair(obj, "route", json::Value::String(route));
  PutPair(obj, "template", json::Value::String(template_name));
  PutPair(obj, "content", json::Value::String(content));
  PutPair(obj, "showInNavigation", json::Value::Boolean(show_in_navigation));
  if (obj.Find("components") == nullptr) obj.Set("components", json::Value::Array());
  return obj;
}

}  // namespace qb::model
