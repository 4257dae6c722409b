#include "memo.h"

namespace vx::ui {

bool Memo::ApplyOwnProperty(const FormProperty& property) {
  if (property.name != "ScrollBars") return false;
  const std::string& value = property.value.text;
  if (property.value.kind != FormValue::Kind::kWord) {
    throw FormDescriptionError(property.line, "ScrollBars needs ssNone, ssVertical, ...");
  }
  if (value == "ssNone") {
    scrollBars_ = 0;
  } else if (value == "ssVertical") {
    scrollBars_ = WS_VSCROLL;
  } else if (value == "ssHorizontal") {
    scrollBars_ = WS_HSCROLL;
  } else if (value == "ssBoth") {
    scrollBars_ = WS_VSCROLL | WS_HSCROLL;
  } else {
    throw FormDescriptionError(property.line, "unknown ScrollBars value " + value);
  }
  return true;
}

HWND Memo::CreateHandle(HWND parent, int id, DWORD baseStyle) {
  DWORD style = baseStyle | ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | scrollBars_;
  // A horizontal scroll bar means no word wrap.
  if (scrollBars_ & WS_HSCROLL) style |= ES_AUTOHSCROLL;
  return MakeWindow("EDIT", "", style, WS_EX_CLIENTEDGE, parent, id);
}

void Memo::AfterCreate() {
  // No limit on the text: the default of 32767 characters applies to typing only, but a list of
  // long paths must never be cut short.
  ::SendMessageA(Handle(), EM_LIMITTEXT, 0, 0);
}

std::vector<std::string> Memo::Lines() const {
  const int length = ::GetWindowTextLengthA(Handle());
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextA(Handle(), text.data(), length + 1)));
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

void Memo::SetLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  ::SetWindowTextA(Handle(), text.c_str());
}

}  // namespace vx::ui
