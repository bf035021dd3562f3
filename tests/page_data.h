// Reads back the data block of a page that wordlist-graph --html wrote:
// the JSON between its listing script's tags, with every word turned back
// into its bytes, so that tests compare it with what it was made from.
#ifndef WORDLIST_TESTS_PAGE_DATA_H
#define WORDLIST_TESTS_PAGE_DATA_H

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

// One JSON value. A string's `text` holds bytes: a lone surrogate
// U+DC00 + byte stands for that byte, as the page writes bytes that are
// not UTF-8.
struct JsonValue {
  enum Kind { kInvalid, kNumber, kString, kArray, kObject } kind = kInvalid;
  long long number = 0;
  std::string text;
  std::vector<std::string> keys;  // of an object, one per item
  std::vector<JsonValue> items;

  // The member named `key` of an object; an invalid value when absent.
  const JsonValue& operator[](const std::string& key) const {
    static const JsonValue missing;
    for (std::size_t i = 0; i < keys.size(); ++i) {
      if (keys[i] == key) {
        return items[i];
      }
    }
    return missing;
  }
};

class JsonReader {
 public:
  explicit JsonReader(std::string text) : text_(std::move(text)) {}

  // The value at the start of the text; invalid when anything is amiss.
  JsonValue read() {
    JsonValue value = value_at();
    return ok_ && at_ == text_.size() ? value : JsonValue{};
  }

 private:
  char peek() { return at_ < text_.size() ? text_[at_] : '\0'; }
  bool expect(char c) {
    skip_space();
    ok_ = ok_ && peek() == c;
    at_ += ok_ ? 1 : 0;
    return ok_;
  }
  void skip_space() {
    while (peek() == ' ' || peek() == '\n') {
      ++at_;
    }
  }
  unsigned hex4() {
    const std::string digits = text_.substr(at_, 4);
    at_ += 4;
    ok_ = ok_ && digits.size() == 4;
    return static_cast<unsigned>(std::strtoul(digits.c_str(), nullptr, 16));
  }
  static void append_utf8(std::string* out, unsigned point) {
    if (point < 0x80) {
      *out += static_cast<char>(point);
    } else if (point < 0x800) {
      *out += static_cast<char>(0xC0 | point >> 6);
      *out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
      *out += static_cast<char>(0xE0 | point >> 12);
      *out += static_cast<char>(0x80 | (point >> 6 & 0x3F));
      *out += static_cast<char>(0x80 | (point & 0x3F));
    }
  }
  std::string string_at() {
    std::string out;
    expect('"');
    while (ok_ && peek() != '"') {
      const char c = text_[at_++];
      ok_ = at_ < text_.size() && c != '<' && static_cast<unsigned char>(c) >= 0x20;
      if (c != '\\') {
        out += c;
        continue;
      }
      const char escape = text_[at_++];
      if (escape == 'u') {
        const unsigned point = hex4();
        if (point >= 0xDC00 && point <= 0xDCFF) {
          out += static_cast<char>(point - 0xDC00);
        } else {
          append_utf8(&out, point);
        }
      } else {
        ok_ = ok_ && (escape == '"' || escape == '\\');
        out += escape;
      }
    }
    expect('"');
    return out;
  }
  JsonValue value_at() {
    skip_space();
    JsonValue value;
    if (peek() == '"') {
      value.kind = JsonValue::kString;
      value.text = string_at();
    } else if (peek() == '[' || peek() == '{') {
      const bool object = peek() == '{';
      value.kind = object ? JsonValue::kObject : JsonValue::kArray;
      ++at_;
      skip_space();
      while (ok_ && peek() != (object ? '}' : ']')) {
        if (!value.items.empty()) {
          expect(',');
        }
        if (object) {
          skip_space();
          value.keys.push_back(string_at());
          expect(':');
        }
        value.items.push_back(value_at());
        skip_space();
      }
      expect(object ? '}' : ']');
    } else {
      char* end = nullptr;
      value.kind = JsonValue::kNumber;
      value.number = std::strtoll(text_.c_str() + at_, &end, 10);
      ok_ = ok_ && end != text_.c_str() + at_;
      at_ = static_cast<std::size_t>(end - text_.c_str());
    }
    return value;
  }

  std::string text_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

// The data of `page`, parsed; invalid when the page holds none.
inline JsonValue page_data(const std::string& page) {
  const std::string open = R"(<script type="application/json" id="listing">)";
  const std::size_t start = page.find(open);
  const std::size_t end = page.find("</script>", start);
  if (start == std::string::npos || end == std::string::npos) {
    return {};
  }
  return JsonReader(page.substr(start + open.size(), end - start - open.size())).read();
}

#endif  // WORDLIST_TESTS_PAGE_DATA_H
