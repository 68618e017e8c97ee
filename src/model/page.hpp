// A content page and its JSON object.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/json_value.hpp"

namespace qb::model {

class Page {
 public:
  std::string id;
  std::string title;
  std::string route;  // URL path starting with "/"
  std::string template_name;  // "standard", "about", "help", "services", "contact", "privacy", "blank"
  std::string content;
  bool show_in_navigation = false;

  // Missing keys read as: title = id, route = "/" + id, template "standard", shown in navigation.
  void LoadFromJson(const json::Value& obj);
  // The same without a copy: obj is kept as it is, shared with its owner.
  void LoadFromJson(std::shared_ptr<const json::Value> obj);

  // Unknown keys first, then the written keys; "components" is added as [] when absent.
  json::Value ToJson() const;
  // The same pairs to a PairWriter or a PairEmitter.
  template <typename Sink>
  void WritePairs(Sink& out) const;

 private:
  // The loaded object, shared with the document it came from; never changed.
  std::shared_ptr<const json::Value> extra_;
};

}  // namespace qb::model
