// JSON parser: nlohmann's non-recursive SAX tokenizer feeding our ordered value.
#include "core/json_parse.hpp"

#include <nlohmann/json.hpp>

#include <iterator>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace qb::json {
namespace {

// Builds containers bottom-up: the elements and members of every open container wait on two
// shared stacks and move into a container of exactly their count when it closes.
class Builder {
 public:
  bool null() { return Put(Value()); }
  bool boolean(bool v) { return Put(Value::Boolean(v)); }
  bool number_integer(nlohmann::json::number_integer_t v) { return Put(Value::Number(std::to_string(v))); }
  bool number_unsigned(nlohmann::json::number_unsigned_t v) { return Put(Value::Number(std::to_string(v))); }
  bool number_float(nlohmann::json::number_float_t, const std::string& text) { return Put(Value::Number(text)); }
  bool string(std::string& v) { return Put(Value::String(std::move(v))); }
  bool binary(nlohmann::json::binary_t&) { return false; }

  bool start_object(std::size_t) { return Open(true); }
  bool start_array(std::size_t) { return Open(false); }
  bool key(std::string& k) {
    open_.back().key = std::move(k);
    return true;
  }
  bool end_object() { return Close(); }
  bool end_array() { return Close(); }

  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) { return false; }

  std::optional<Value> Result() { return std::move(result_); }

 private:
  // Objects with more members than this find repeated names through an index.
  static constexpr std::size_t kIndexFrom = 16;

  // A container being filled: its first element or member on the stacks.
  struct Frame {
    bool is_object;
    std::size_t first;
    std::string key;
    std::unordered_map<std::string, std::size_t> index;
  };

  bool Open(bool is_object) {
    if (open_.size() >= kMaxDepth) return false;
    open_.push_back(Frame{is_object, is_object ? members_.size() : items_.size(), {}, {}});
    return true;
  }

  bool Close() {
    Frame& top = open_.back();
    Value done;
    if (top.is_object) {
      done = Value::Object();
      done.Members().assign(std::make_move_iterator(members_.begin() + static_cast<std::ptrdiff_t>(top.first)),
                            std::make_move_iterator(members_.end()));
      members_.resize(top.first);
    } else {
      done = Value::Array();
      done.Items().assign(std::make_move_iterator(items_.begin() + static_cast<std::ptrdiff_t>(top.first)),
                          std::make_move_iterator(items_.end()));
      items_.resize(top.first);
    }
    open_.pop_back();
    return Put(std::move(done));
  }

  // The position of an earlier member named top.key, or count when there is none.
  std::size_t FindMember(Frame& top, std::size_t count) {
    if (count < kIndexFrom) {
      for (std::size_t i = 0; i < count; ++i)
        if (members_[top.first + i].key == top.key) return i;
      return count;
    }
    if (top.index.empty())
      for (std::size_t i = 0; i < count; ++i) top.index.emplace(members_[top.first + i].key, i);
    const auto [it, inserted] = top.index.try_emplace(top.key, count);
    return it->second;
  }

  bool Put(Value v) {
    if (open_.empty()) {
      result_ = std::move(v);
      return true;
    }
    Frame& top = open_.back();
    if (!top.is_object) {
      items_.push_back(std::move(v));
      return true;
    }
    const std::size_t count = members_.size() - top.first;
    const std::size_t at = FindMember(top, count);
    if (at == count) members_.push_back(Member{std::move(top.key), std::move(v)});
    else members_[top.first + at].value = std::move(v);
    return true;
  }

  std::vector<Frame> open_;
  std::vector<Value> items_;
  std::vector<Member> members_;
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
