#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace vx::ui {

// One property value of a form description: a number (`12`, `-12`), a quoted text (`'a''b'`, bytes
// as stored, i.e. code page 936), a bare word (`clBtnFace`, `Button2Click`) or a set (`[a, b]`).
struct FormValue {
  enum class Kind { kInteger, kText, kWord, kSet };
  Kind kind = Kind::kInteger;
  long integer = 0;
  std::string text;                // kText: the bytes between the quotes; kWord: the word
  std::vector<std::string> words;  // kSet
};

struct FormProperty {
  std::string name;  // may be dotted: Font.Height
  FormValue value;
  int line = 0;
};

// `object <name>: <class>` ... `end`, with its properties and the objects nested in it, both in
// the order written. Child order is the window's field order.
struct FormObject {
  std::string name;
  std::string className;
  int line = 0;
  std::vector<FormProperty> properties;
  std::vector<FormObject> children;

  const FormProperty* Find(const std::string& propertyName) const;
};

class FormDescriptionError : public std::runtime_error {
 public:
  FormDescriptionError(int line, const std::string& message);
  int Line() const { return line_; }

 private:
  int line_;
};

// Parses the text of one form description (one top-level object). Lines starting with "//" are
// comments. Raises FormDescriptionError with the line number on any malformed line.
FormObject ParseFormDescription(const std::string& text);

}  // namespace vx::ui
