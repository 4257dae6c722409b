#include "control.h"

#include <utility>

namespace vx::ui {

namespace {

int IntegerOf(const FormProperty& property) {
  if (property.value.kind != FormValue::Kind::kInteger) {
    throw FormDescriptionError(property.line, property.name + " needs a number");
  }
  return static_cast<int>(property.value.integer);
}

bool BooleanOf(const FormProperty& property) {
  if (property.value.kind == FormValue::Kind::kWord) {
    if (property.value.text == "True") return true;
    if (property.value.text == "False") return false;
  }
  throw FormDescriptionError(property.line, property.name + " needs True or False");
}

const std::string& TextOf(const FormProperty& property) {
  if (property.value.kind != FormValue::Kind::kText) {
    throw FormDescriptionError(property.line, property.name + " needs a quoted text");
  }
  return property.value.text;
}

}  // namespace

COLORREF ColorFromWord(const FormProperty& property) {
  static const struct {
    const char* name;
    int systemColor;  // -1: fixed colour
    COLORREF fixed;
  } kColors[] = {
      {"clBtnFace", COLOR_BTNFACE, 0},       {"clWindow", COLOR_WINDOW, 0},
      {"clWindowText", COLOR_WINDOWTEXT, 0}, {"clBlack", -1, RGB(0, 0, 0)},
      {"clBlue", -1, RGB(0, 0, 255)},        {"clWhite", -1, RGB(255, 255, 255)},
  };
  if (property.value.kind == FormValue::Kind::kWord) {
    for (const auto& color : kColors) {
      if (property.value.text == color.name) {
        return color.systemColor >= 0 ? ::GetSysColor(color.systemColor) : color.fixed;
      }
    }
  }
  throw FormDescriptionError(property.line, "unknown colour for " + property.name);
}

bool ApplyFontProperty(const FormProperty& property, FontAttributes& font) {
  if (property.name == "Font.Name") {
    font.name = TextOf(property);
  } else if (property.name == "Font.Height") {
    font.height = IntegerOf(property);
  } else if (property.name == "Font.Color") {
    font.color = ColorFromWord(property);
  } else if (property.name == "Font.Charset") {
    if (property.value.kind == FormValue::Kind::kWord && property.value.text == "GB2312_CHARSET") {
      font.charset = GB2312_CHARSET;
    } else if (property.value.kind == FormValue::Kind::kWord &&
               property.value.text == "DEFAULT_CHARSET") {
      font.charset = DEFAULT_CHARSET;
    } else {
      throw FormDescriptionError(property.line, "unknown character set");
    }
  } else {
    return false;
  }
  return true;
}

UniqueFont MakeFont(const FontAttributes& font) {
  return UniqueFont(::CreateFontA(font.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                  static_cast<BYTE>(font.charset), OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                  font.name.c_str()));
}

void Control::ApplyProperty(const FormProperty& property) {
  const std::string& name = property.name;
  if (name == "Left") {
    left_ = IntegerOf(property);
  } else if (name == "Top") {
    top_ = IntegerOf(property);
  } else if (name == "Width") {
    width_ = IntegerOf(property);
  } else if (name == "Height") {
    height_ = IntegerOf(property);
  } else if (name == "Visible") {
    visible_ = BooleanOf(property);
  } else if (name == "TabOrder") {
    tabOrder_ = IntegerOf(property);
  } else if (name == "ParentFont") {
    ownFont_ = !BooleanOf(property);
  } else if (name == "Caption") {
    caption_ = TextOf(property);
  } else if (ApplyFontProperty(property, fontAttributes_)) {
    ownFont_ = true;
  } else if (!ApplyOwnProperty(property)) {
    throw FormDescriptionError(property.line, Name() + " has no property " + name);
  }
}

bool Control::BindEvent(const std::string& /*eventName*/, EventHandler /*handler*/) {
  return false;
}

void Control::Create(HWND parent, int id, HFONT parentFont) {
  if (ownFont_) {
    createdFont_ = MakeFont(fontAttributes_);
    font_ = createdFont_.Get();
  } else {
    font_ = parentFont;
  }
  DWORD style = WS_CHILD;
  if (visible_) style |= WS_VISIBLE;
  if (tabOrder_ >= 0) style |= WS_TABSTOP;
  handle_ = CreateHandle(parent, id, style);
  if (!handle_) throw std::runtime_error("cannot create the window of " + Name());
  ::SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  AfterCreate();
}

void Control::Resize(int width, int height) {
  width_ = width;
  height_ = height;
  if (handle_) {
    ::SetWindowPos(handle_, nullptr, 0, 0, width, height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

HWND Control::MakeWindow(const char* windowClass, const char* text, DWORD style, DWORD exStyle,
                         HWND parent, int id) const {
  return ::CreateWindowExA(exStyle, windowClass, text, style, left_, top_, width_, height_, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           ::GetModuleHandleA(nullptr), nullptr);
}

}  // namespace vx::ui
