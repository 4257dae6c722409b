#include "check_list_box.h"

#include <uxtheme.h>
#include <vssym32.h>
#include <windowsx.h>

namespace vx::ui {

namespace {

constexpr int kCheckBoxSize = 13;

class ThemeData {
 public:
  ThemeData(HWND window, const wchar_t* classes) : theme_(::OpenThemeData(window, classes)) {}
  ~ThemeData() {
    if (theme_) ::CloseThemeData(theme_);
  }
  ThemeData(const ThemeData&) = delete;
  ThemeData& operator=(const ThemeData&) = delete;
  HTHEME Get() const { return theme_; }

 private:
  HTHEME theme_;
};

}  // namespace

bool CheckListBox::ApplyOwnProperty(const FormProperty& property) {
  if (property.name != "ItemHeight") return false;
  if (property.value.kind != FormValue::Kind::kInteger || property.value.integer <= 0) {
    throw FormDescriptionError(property.line, "ItemHeight needs a positive number");
  }
  itemHeight_ = static_cast<int>(property.value.integer);
  return true;
}

HWND CheckListBox::CreateHandle(HWND parent, int id, DWORD baseStyle) {
  // No integral height: the list keeps exactly the height it is given.
  const DWORD style = baseStyle | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY |
                      LBS_NOINTEGRALHEIGHT;
  return MakeWindow("LISTBOX", "", style, WS_EX_CLIENTEDGE, parent, id);
}

void CheckListBox::AfterCreate() {
  ::SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, itemHeight_);
  ::SetWindowSubclass(Handle(), &CheckListBox::SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

void CheckListBox::HandleMeasureItem(MEASUREITEMSTRUCT& item) {
  item.itemHeight = itemHeight_;
}

void CheckListBox::Clear() {
  ::SendMessageA(Handle(), LB_RESETCONTENT, 0, 0);
}

void CheckListBox::Add(const std::string& text) {
  const LRESULT index =
      ::SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (index >= 0) ::SendMessageA(Handle(), LB_SETITEMDATA, index, 0);
}

int CheckListBox::Count() const {
  return static_cast<int>(::SendMessageA(Handle(), LB_GETCOUNT, 0, 0));
}

std::string CheckListBox::Text(int index) const {
  const LRESULT length = ::SendMessageA(Handle(), LB_GETTEXTLEN, index, 0);
  if (length < 0) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT copied =
      ::SendMessageA(Handle(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
  return text;
}

bool CheckListBox::Checked(int index) const {
  return ::SendMessageA(Handle(), LB_GETITEMDATA, index, 0) == 1;
}

void CheckListBox::SetChecked(int index, bool checked) {
  ::SendMessageA(Handle(), LB_SETITEMDATA, index, checked ? 1 : 0);
  RECT item;
  if (::SendMessageA(Handle(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)) != LB_ERR) {
    ::InvalidateRect(Handle(), &item, FALSE);
  }
}

std::vector<TypeChoice> CheckListBox::Choices() const {
  std::vector<TypeChoice> choices;
  const int count = Count();
  for (int i = 0; i < count; ++i) choices.push_back(TypeChoice{Text(i), Checked(i)});
  return choices;
}

void CheckListBox::Toggle(int index) {
  if (index >= 0 && index < Count()) SetChecked(index, !Checked(index));
}

void CheckListBox::ToggleAt(POINT point) {
  const LRESULT hit = ::SendMessageA(Handle(), LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
  if (HIWORD(hit) != 0) return;  // below the last item
  const int index = LOWORD(hit);
  RECT item;
  if (::SendMessageA(Handle(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)) == LB_ERR) {
    return;
  }
  if (point.x >= item.left && point.x < item.left + kCheckColumnWidth && point.y >= item.top &&
      point.y < item.bottom) {
    Toggle(index);
  }
}

LRESULT CALLBACK CheckListBox::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR /*id*/, DWORD_PTR self) {
  auto* list = reinterpret_cast<CheckListBox*>(self);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      list->ToggleAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      break;
    case WM_CHAR:
      if (wParam == ' ') {
        list->Toggle(static_cast<int>(::SendMessageA(window, LB_GETCARETINDEX, 0, 0)));
        return 0;
      }
      break;
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(window, &CheckListBox::SubclassProc, 1);
      break;
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

void CheckListBox::DrawCheckBox(HDC dc, const RECT& box, bool checked) const {
  ThemeData theme(Handle(), L"BUTTON");
  if (theme.Get()) {
    ::DrawThemeBackground(theme.Get(), dc, BP_CHECKBOX,
                          checked ? CBS_CHECKEDNORMAL : CBS_UNCHECKEDNORMAL, &box, nullptr);
    return;
  }
  RECT frame = box;
  ::DrawFrameControl(dc, &frame, DFC_BUTTON,
                     DFCS_BUTTONCHECK | DFCS_FLAT | (checked ? DFCS_CHECKED : 0));
}

void CheckListBox::HandleDrawItem(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1)) return;
  HDC dc = item.hDC;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  RECT row = item.rcItem;

  RECT column = row;
  column.right = row.left + kCheckColumnWidth;
  ::FillRect(dc, &column, ::GetSysColorBrush(COLOR_WINDOW));
  RECT box;
  box.left = row.left + (kCheckColumnWidth - kCheckBoxSize) / 2;
  box.top = row.top + (row.bottom - row.top - kCheckBoxSize) / 2;
  box.right = box.left + kCheckBoxSize;
  box.bottom = box.top + kCheckBoxSize;
  DrawCheckBox(dc, box, Checked(static_cast<int>(item.itemID)));

  RECT text = row;
  text.left = column.right;
  ::FillRect(dc, &text, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, selected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : FontSettings().color);
  HGDIOBJ oldFont = ::SelectObject(dc, Font());
  const std::string label = Text(static_cast<int>(item.itemID));
  RECT textArea = text;
  textArea.left += 2;
  ::DrawTextA(dc, label.c_str(), static_cast<int>(label.size()), &textArea,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  ::SelectObject(dc, oldFont);
  if (item.itemState & ODS_FOCUS) ::DrawFocusRect(dc, &text);
}

}  // namespace vx::ui
