#include "form_description.h"

#include <cctype>
#include <cstdlib>

namespace vx::ui {

namespace {

bool IsWordStart(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool IsWordChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.';
}

class LineReader {
 public:
  LineReader(const std::string& text, int line) : text_(text), line_(line) {}

  void SkipSpaces() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }
  bool AtEnd() {
    SkipSpaces();
    return pos_ >= text_.size();
  }
  bool Take(char c) {
    SkipSpaces();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  void Expect(char c) {
    if (!Take(c)) Fail(std::string("expected '") + c + "'");
  }
  std::string Word() {
    SkipSpaces();
    if (pos_ >= text_.size() || !IsWordStart(text_[pos_])) Fail("expected a name");
    const std::size_t start = pos_;
    while (pos_ < text_.size() && IsWordChar(text_[pos_])) ++pos_;
    return text_.substr(start, pos_ - start);
  }
  FormValue Value() {
    SkipSpaces();
    FormValue value;
    if (pos_ >= text_.size()) Fail("missing value");
    const char c = text_[pos_];
    if (c == '\'') {
      value.kind = FormValue::Kind::kText;
      value.text = QuotedText();
    } else if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) {
      value.kind = FormValue::Kind::kInteger;
      const std::size_t start = pos_;
      if (c == '-') ++pos_;
      if (pos_ >= text_.size() || !std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
        Fail("malformed number");
      }
      while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
      value.integer = std::strtol(text_.substr(start, pos_ - start).c_str(), nullptr, 10);
    } else if (c == '[') {
      ++pos_;
      value.kind = FormValue::Kind::kSet;
      if (!Take(']')) {
        do {
          value.words.push_back(Word());
        } while (Take(','));
        Expect(']');
      }
    } else {
      value.kind = FormValue::Kind::kWord;
      value.text = Word();
    }
    return value;
  }
  [[noreturn]] void Fail(const std::string& message) const {
    throw FormDescriptionError(line_, message);
  }

 private:
  // 'text', with '' standing for one quote. Bytes in between are taken as they are: a trail byte
  // of code page 936 is never 0x27, so a quote inside a double-byte character cannot occur.
  std::string QuotedText() {
    std::string result;
    ++pos_;
    for (;;) {
      if (pos_ >= text_.size()) Fail("unterminated text");
      const char c = text_[pos_++];
      if (c != '\'') {
        result += c;
      } else if (pos_ < text_.size() && text_[pos_] == '\'') {
        result += '\'';
        ++pos_;
      } else {
        return result;
      }
    }
  }

  const std::string& text_;
  int line_;
  std::size_t pos_ = 0;
};

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

bool IsBlankOrComment(const std::string& line) {
  const std::size_t first = line.find_first_not_of(" \t");
  return first == std::string::npos || line.compare(first, 2, "//") == 0;
}

}  // namespace

const FormProperty* FormObject::Find(const std::string& propertyName) const {
  for (const FormProperty& property : properties) {
    if (property.name == propertyName) return &property;
  }
  return nullptr;
}

FormDescriptionError::FormDescriptionError(int line, const std::string& message)
    : std::runtime_error("form description, line " + std::to_string(line) + ": " + message),
      line_(line) {}

FormObject ParseFormDescription(const std::string& text) {
  const std::vector<std::string> lines = SplitLines(text);
  std::vector<FormObject> open;  // the object being read and those it is nested in
  bool haveTop = false;
  FormObject top;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int lineNumber = static_cast<int>(i) + 1;
    if (IsBlankOrComment(lines[i])) continue;
    LineReader reader(lines[i], lineNumber);
    const std::string word = reader.Word();
    if (word == "object") {
      if (haveTop) reader.Fail("text after the end of the form");
      FormObject object;
      object.line = lineNumber;
      object.name = reader.Word();
      reader.Expect(':');
      object.className = reader.Word();
      if (!reader.AtEnd()) reader.Fail("unexpected text after the class name");
      open.push_back(std::move(object));
    } else if (word == "end") {
      if (open.empty()) reader.Fail("'end' without 'object'");
      if (!reader.AtEnd()) reader.Fail("unexpected text after 'end'");
      FormObject done = std::move(open.back());
      open.pop_back();
      if (open.empty()) {
        top = std::move(done);
        haveTop = true;
      } else {
        open.back().children.push_back(std::move(done));
      }
    } else {
      if (open.empty()) reader.Fail("property outside an object");
      reader.Expect('=');
      FormProperty property;
      property.name = word;
      property.line = lineNumber;
      property.value = reader.Value();
      if (!reader.AtEnd()) reader.Fail("unexpected text after the value");
      if (open.back().Find(word)) reader.Fail("property '" + word + "' given twice");
      open.back().properties.push_back(std::move(property));
    }
  }
  if (!open.empty()) throw FormDescriptionError(open.back().line, "object without 'end'");
  if (!haveTop) throw FormDescriptionError(1, "no object in the form description");
  return top;
}

}  // namespace vx::ui
