#include "guard/BoundedJsonParser.h"

#include <vector>

namespace ger {
namespace {

using json = nlohmann::json;

/// The parser's event handler: builds the value on an explicit stack of open containers.
class DomBuilder {
public:
    using Outcome = BoundedJsonParser::Outcome;

    DomBuilder(const RequestLimits& limits, BoundedJsonParser::Result& result)
        : limits_(limits), result_(result) {}

    bool null() { return Add(nullptr); }
    bool boolean(bool value) { return Add(value); }
    bool number_integer(json::number_integer_t value) { return Add(value); }
    bool number_unsigned(json::number_unsigned_t value) { return Add(value); }
    bool number_float(json::number_float_t value, const std::string&) { return Add(value); }
    bool string(std::string& value) { return Add(std::move(value)); }
    bool binary(json::binary_t&) { return Fail(Outcome::Malformed); } // not in JSON text
    bool start_object(std::size_t) { return Open(json::value_t::object); }
    bool start_array(std::size_t) { return Open(json::value_t::array); }
    bool end_object() { return Close(); }
    bool end_array() { return Close(); }
    bool key(std::string& name) {
        json& object = *open_.back();
        if (object.contains(name)) {
            result_.duplicate = std::move(name);
            return Fail(Outcome::DuplicateKey);
        }
        key_ = std::move(name);
        return true;
    }
    template <class Exception> bool parse_error(std::size_t, const std::string&, const Exception&) {
        return Fail(Outcome::Malformed);
    }

private:
    template <class Value> json* Place(Value&& value) {
        if (open_.empty()) {
            result_.value = json(std::forward<Value>(value));
            return &result_.value;
        }
        json& parent = *open_.back();
        if (parent.is_array()) {
            parent.push_back(json(std::forward<Value>(value)));
            return &parent.back();
        }
        json& slot = parent[key_];
        slot = json(std::forward<Value>(value));
        return &slot;
    }
    template <class Value> bool Add(Value&& value) {
        if (++values_ > limits_.maxValues) return Fail(Outcome::TooManyValues);
        Place(std::forward<Value>(value));
        return true;
    }
    bool Open(json::value_t kind) {
        if (open_.size() >= limits_.maxDepth) return Fail(Outcome::TooDeep);
        if (++values_ > limits_.maxValues) return Fail(Outcome::TooManyValues);
        open_.push_back(Place(kind));
        return true;
    }
    bool Close() {
        open_.pop_back();
        return true;
    }
    bool Fail(Outcome outcome) {
        result_.outcome = outcome;
        return false;
    }

    const RequestLimits& limits_;
    BoundedJsonParser::Result& result_;
    std::vector<json*> open_; // pointers stay valid: a container is only added to while open
    std::string key_;
    std::size_t values_ = 0;
};

} // namespace

BoundedJsonParser::Result BoundedJsonParser::Parse(std::string_view text) const {
    Result result;
    DomBuilder builder(limits_, result);
    result.outcome = Outcome::Parsed;
    const bool parsed = json::sax_parse(text.begin(), text.end(), &builder);
    if (!parsed) {
        if (result.outcome == Outcome::Parsed) result.outcome = Outcome::Malformed;
        // Drop what was built of a refused text at once; it is shallow, so this is safe.
        result.value = json();
    }
    return result;
}

} // namespace ger
