// JSON parser: nlohmann's non-recursive SAX tokenizer feeding our ordered value.
#include "core/json_parse.hpp"

#include <nlohmann/json.hpp>

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace qb::json {
namespace {

class Builder {
 public:
  bool null() { return Put(Value()); }
  bool boolean(bool v) { return Put(Value::Boolean(v)); }
  bool number_integer(nlohmann::json::number_integer_t v) { return Put(Value::Number(std::to_string(v))); }
  bool number_unsigned(nlohmann::json::number_unsigned_t v) { return Put(Value::Number(std::to_string(v))); }
  bool number_float(nlohmann::json::number_float_t, const std::string& text) { return Put(Value::Number(text)); }
  bool string(std::string& v) { return Put(Value::String(std::move(v))); }
  bool binary(nlohmann::json::binary_t&) { return false; }

  bool start_object(std::size_t) { return Open(Value::Object()); }
  bool start_array(std::size_t) { return Open(Value::Array()); }
  bool key(std::string& k) {
    open_.back().key = std::move(k);
    return true;
  }
  bool end_object() { return Close(); }
  bool end_array() { return Close(); }

  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) { return false; }

  std::optional<Value> Result() { return std::move(result_); }

 private:
  // A container being filled; the index finds repeated member names without a linear scan.
  struct Frame {
    Value value;
    std::string key;
    std::unordered_map<std::string, std::size_t> index;
  };

  bool Open(Value container) {
    if (open_.size() >= kMaxDepth) return false;
    open_.push_back(Frame{std::move(container), {}, {}});
    return true;
  }

  bool Close() {
    Value done = std::move(open_.back().value);
    open_.pop_back();
    return Put(std::move(done));
  }

  bool Put(Value v) {
    if (open_.empty()) {
      result_ = std::move(v);
      return true;
    }
    Frame& top = open_.back();
    if (top.value.IsArray()) {
      top.value.Append(std::move(v));
      return true;
    }
    auto& members = top.value.Members();
    auto [it, inserted] = top.index.try_emplace(top.key, members.size());
    if (inserted) members.push_back(Member{std::move(top.key), std::move(v)});
    else members[it->second].value = std::move(v);
    return true;
  }

  std::vector<Frame> open_;
  std::optional<Value> result_;
};

}  // namespace

std::optional<Value> Parse(std::string_view text) {
  Builder builder;
  bool ok = false;
  try {
    ok = nlohmann::json::sax_parse(text.begin(), text.end(), &builder);
  } catch (const nlohmann::json::exception&) {
    ok = false;
  }
  if (!ok) return std::nullopt;
  return builder.Result();
}

}  // namespace qb::json
