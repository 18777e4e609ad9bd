#pragma once
// A small JSON reader for comparing the exporter's output as values: objects
// keep their members in order, so equal values also have equal key order.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pb::test {

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    std::string text;  // a number's digits or a string's characters
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;

    bool operator==(const JsonValue&) const = default;

    const JsonValue& operator[](std::string_view key) const {
        for (const auto& [name, value] : members) {
            if (name == key) {
                return value;
            }
        }
        throw std::out_of_range("no member " + std::string(key));
    }
};

class JsonReader {
  public:
    explicit JsonReader(std::string_view text) : text_(text) {}

    JsonValue ReadDocument() {
        JsonValue value = Read();
        Skip();
        if (pos_ != text_.size()) {
            throw std::runtime_error("text after the JSON value");
        }
        return value;
    }

  private:
    void Skip() {
        while (pos_ < text_.size() &&
               std::string_view(" \t\r\n").find(text_[pos_]) != std::string_view::npos) {
            ++pos_;
        }
    }
    char Next() {
        Skip();
        if (pos_ >= text_.size()) {
            throw std::runtime_error("JSON ends early");
        }
        return text_[pos_];
    }
    void Expect(char c) {
        if (Next() != c) {
            throw std::runtime_error(std::string("expected ") + c + " at " + std::to_string(pos_));
        }
        ++pos_;
    }
    bool Literal(std::string_view word) {
        if (text_.substr(pos_, word.size()) == word) {
            pos_ += word.size();
            return true;
        }
        return false;
    }
    std::string ReadString() {
        Expect('"');
        std::string out;
        while (pos_ < text_.size() && text_[pos_] != '"') {
            char c = text_[pos_++];
            if (c == '\\') {
                c = text_.at(pos_++);
                if (c == 'u') {
                    const unsigned code =
                        std::stoul(std::string(text_.substr(pos_, 4)), nullptr, 16);
                    pos_ += 4;
                    if (code >= 0x80) {
                        throw std::runtime_error("\\u escapes above ASCII are not expected here");
                    }
                    out += static_cast<char>(code);
                    continue;
                }
                const std::string_view from = "nrtbf";
                const std::string_view to = "\n\r\t\b\f";
                const auto at = from.find(c);
                out += at == std::string_view::npos ? c : to[at];
            } else {
                out += c;
            }
        }
        Expect('"');
        return out;
    }
    JsonValue Read() {
        JsonValue value;
        const char c = Next();
        if (c == '{') {
            value.kind = JsonValue::Kind::Object;
            ++pos_;
            if (Next() == '}') {
                ++pos_;
                return value;
            }
            do {
                std::string key = ReadString();
                Expect(':');
                value.members.emplace_back(std::move(key), Read());
            } while (Next() == ',' && ++pos_);
            Expect('}');
        } else if (c == '[') {
            value.kind = JsonValue::Kind::Array;
            ++pos_;
            if (Next() == ']') {
                ++pos_;
                return value;
            }
            do {
                value.items.push_back(Read());
            } while (Next() == ',' && ++pos_);
            Expect(']');
        } else if (c == '"') {
            value.kind = JsonValue::Kind::String;
            value.text = ReadString();
        } else if (Literal("true") || Literal("false")) {
            value.kind = JsonValue::Kind::Bool;
            value.boolean = c == 't';
        } else if (Literal("null")) {
            value.kind = JsonValue::Kind::Null;
        } else {
            value.kind = JsonValue::Kind::Number;
            const std::size_t start = pos_;
            while (pos_ < text_.size() && std::string_view("-+.eE0123456789").find(text_[pos_]) !=
                                              std::string_view::npos) {
                ++pos_;
            }
            if (start == pos_) {
                throw std::runtime_error("unexpected character at " + std::to_string(pos_));
            }
            value.text = std::to_string(std::stoll(std::string(text_.substr(start, pos_ - start))));
        }
        return value;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

inline JsonValue ParseJson(std::string_view text) {
    return JsonReader(text).ReadDocument();
}

}  // namespace pb::test
