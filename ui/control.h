#pragma once

#include <windows.h>
// The headers below build on windows.h.
#include <commctrl.h>

#include <string>

#include "event_handler.h"
#include "form_description.h"
#include "gdi_handles.h"

namespace vx::ui {

// A font as the form description gives it. Texts are code page 936 bytes.
struct FontAttributes {
  std::string name;
  int height = 0;  // negative: character height in pixels
  int charset = DEFAULT_CHARSET;
  COLORREF color = RGB(0, 0, 0);
};

// Reads a `Font.*` property into `font`. False when the property is no font property.
bool ApplyFontProperty(const FormProperty& property, FontAttributes& font);
UniqueFont MakeFont(const FontAttributes& font);
// clBtnFace, clWindowText, clBlue, ...; raises FormDescriptionError for an unknown colour name.
COLORREF ColorFromWord(const FormProperty& property);

// One child control of a form. The form description sets its properties and events, the form then
// makes its window and passes it the notifications that Windows sends to the parent.
class Control {
 public:
  explicit Control(std::string name) : name_(std::move(name)) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
  HWND Handle() const { return handle_; }
  RECT Bounds() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
  bool Visible() const { return visible_; }
  int TabOrder() const { return tabOrder_; }  // -1: no tab stop

  // Raises FormDescriptionError for a property the control does not have.
  void ApplyProperty(const FormProperty& property);
  // False when the control has no such event.
  virtual bool BindEvent(const std::string& eventName, EventHandler handler);

  // Makes the window as a child of `parent` with the control ID `id`; `parentFont` is the form's.
  void Create(HWND parent, int id, HFONT parentFont);

  // Notifications the parent receives on the control's behalf.
  virtual void HandleCommand(WORD /*code*/) {}
  virtual LRESULT HandleNotify(NMHDR& /*header*/) { return 0; }
  virtual void HandleMeasureItem(MEASUREITEMSTRUCT& /*item*/) {}
  virtual void HandleDrawItem(const DRAWITEMSTRUCT& /*item*/) {}
  virtual HBRUSH HandleControlColor(HDC /*dc*/) { return nullptr; }

 protected:
  virtual bool ApplyOwnProperty(const FormProperty& /*property*/) { return false; }
  // Makes the control's own window; the base adds WS_CHILD, WS_VISIBLE and WS_TABSTOP as set.
  virtual HWND CreateHandle(HWND parent, int id, DWORD baseStyle) = 0;
  // Called once the window exists and has its font.
  virtual void AfterCreate() {}

  HWND MakeWindow(const char* windowClass, const char* text, DWORD style, DWORD exStyle,
                  HWND parent, int id) const;
  // Changes the size of the window, keeping its top left corner.
  void Resize(int width, int height);
  HFONT Font() const { return font_; }
  const FontAttributes& FontSettings() const { return fontAttributes_; }
  const std::string& Caption() const { return caption_; }

 private:
  std::string name_;
  HWND handle_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  int tabOrder_ = -1;
  bool ownFont_ = false;
  FontAttributes fontAttributes_;
  std::string caption_;
  UniqueFont createdFont_;
  HFONT font_ = nullptr;
};

}  // namespace vx::ui
