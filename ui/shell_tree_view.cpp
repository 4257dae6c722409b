#include "shell_tree_view.h"

#include <windows.h>
// The headers below build on windows.h.
#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "com_ptr.h"
#include "pidl.h"
#include "redraw_suspension.h"

namespace vx::ui {

namespace {

ComPtr<IShellFolder> DesktopFolder() {
  ComPtr<IShellFolder> desktop;
  ::SHGetDesktopFolder(desktop.Put());
  return desktop;
}

// The shell folder of an absolute ID list; the desktop itself for the empty list.
ComPtr<IShellFolder> BindToFolder(LPCITEMIDLIST pidl) {
  ComPtr<IShellFolder> desktop = DesktopFolder();
  if (!desktop || pidl->mkid.cb == 0) return desktop;
  ComPtr<IShellFolder> folder;
  desktop->BindToObject(pidl, nullptr, IID_IShellFolder, folder.PutVoid());
  return folder;
}

// The display name and icons of an item, all through the shell from its absolute ID list. Under
// Wine this is slow in a big folder: every SHGetFileInfo call with an ID list binds the item's
// parent folder afresh, and each binding, and each of the three desktop.ini reads behind a folder
// icon, looks for the parent's desktop.ini; Wine finds a missing name in a case-sensitive host
// folder only by reading the whole folder, about 30 ms in a folder of 50,000 files (measured,
// Wine 8.0: 240 ms for the two calls of one item there, 0.1 ms in a small folder).
ShellItemLook LookThroughShell(LPCITEMIDLIST absolutePidl) {
  SHFILEINFOA normal{};
  ::SHGetFileInfoA(reinterpret_cast<LPCSTR>(absolutePidl), 0, &normal, sizeof(normal),
                   SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  SHFILEINFOA open{};
  ::SHGetFileInfoA(reinterpret_cast<LPCSTR>(absolutePidl), 0, &open, sizeof(open),
                   SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON);
  return {normal.szDisplayName, normal.iIcon, open.iIcon};
}

// Wide text of at most MAX_PATH - 1 characters. Fixed buffers rather than std::wstring, which
// would add some 40 KB of the statically linked run-time to the executable.
using WidePath = wchar_t[MAX_PATH];

// The name `folder` gives its item `relative` in the form `flags` asks for; empty when it gives
// none.
void NameInFolder(IShellFolder& folder, LPCITEMIDLIST relative, SHGDNF flags, WidePath& name) {
  name[0] = L'\0';
  STRRET text{};
  if (FAILED(folder.GetDisplayNameOf(relative, flags, &text))) return;
  switch (text.uType) {
    case STRRET_WSTR:
      if (text.pOleStr) ::lstrcpynW(name, text.pOleStr, MAX_PATH);
      ::CoTaskMemFree(text.pOleStr);
      return;
    case STRRET_CSTR:
    case STRRET_OFFSET: {
      const char* ansi = text.uType == STRRET_CSTR
                             ? text.cStr
                             : reinterpret_cast<const char*>(relative) + text.uOffset;
      if (!::MultiByteToWideChar(CP_ACP, 0, ansi, -1, name, MAX_PATH)) name[0] = L'\0';
      return;
    }
    default:
      return;
  }
}

// The text in the ANSI code page, cut to MAX_PATH - 1 bytes like SHGetFileInfoA's names.
std::string ToAnsi(const wchar_t* text) {
  char ansi[MAX_PATH] = "";
  ::WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, MAX_PATH, nullptr, nullptr);
  ansi[MAX_PATH - 1] = '\0';
  return ansi;
}

// Whether the folder `name` in the folder at `parentPath` certainly has no desktop.ini, the one
// file through which a folder gets an icon of its own. Looking inside the folder costs the size of
// the folder, not of its parent.
bool CertainlyWithoutDesktopIni(const wchar_t* parentPath, const wchar_t* name) {
  const int parentLength = ::lstrlenW(parentPath);
  if (parentLength == 0 || name[0] == L'\0') return false;
  const wchar_t* separator = parentPath[parentLength - 1] == L'\\' ? L"" : L"\\";
  const wchar_t* ini = L"\\desktop.ini";
  if (parentLength + ::lstrlenW(separator) + ::lstrlenW(name) + ::lstrlenW(ini) >= MAX_PATH) {
    return false;
  }
  WidePath path;
  ::lstrcpyW(path, parentPath);
  ::lstrcatW(path, separator);
  ::lstrcatW(path, name);
  ::lstrcatW(path, ini);
  if (::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) return false;
  return ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

}  // namespace

ShellTreeView::~ShellTreeView() {
  destroying_ = true;
}

bool ShellTreeView::ApplyOwnProperty(const FormProperty& property) {
  if (property.name == "Indent") {
    if (property.value.kind != FormValue::Kind::kInteger) {
      throw FormDescriptionError(property.line, "Indent needs a number");
    }
    indent_ = static_cast<int>(property.value.integer);
    return true;
  }
  if (property.name == "RightClickSelect") {
    if (property.value.kind != FormValue::Kind::kWord ||
        (property.value.text != "True" && property.value.text != "False")) {
      throw FormDescriptionError(property.line, "RightClickSelect needs True or False");
    }
    rightClickSelect_ = property.value.text == "True";
    return true;
  }
  return false;
}

bool ShellTreeView::BindEvent(const std::string& eventName, EventHandler handler) {
  if (eventName != "OnClick") return false;
  onClick_ = std::move(handler);
  return true;
}

HWND ShellTreeView::CreateHandle(HWND parent, int id, DWORD baseStyle) {
  const DWORD style = baseStyle | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                      TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP;
  return MakeWindow(WC_TREEVIEWA, "", style, WS_EX_CLIENTEDGE, parent, id);
}

void ShellTreeView::AfterCreate() {
  ::SetWindowSubclass(Handle(), &ShellTreeView::SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
  SHFILEINFOA info{};
  // The system image list is shared by every process and must never be destroyed, which a tree
  // view does not do with its normal image list.
  const auto images = reinterpret_cast<HIMAGELIST>(
      ::SHGetFileInfoA("", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  ::SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
  ::SendMessageA(Handle(), TVM_SETINDENT, indent_, 0);

  UniquePidl desktop;
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, desktop.Put()))) return;
  const ShellItemLook look = LookThroughShell(desktop.Get());
  HTREEITEM root = InsertItem(TVI_ROOT, desktop.Release(), look, true);
  if (root) ::SendMessageA(Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
}

ShellItemLook ShellTreeView::ChildLook(IShellFolder& folder, const wchar_t* folderPath,
                                       LPCITEMIDLIST absolutePidl, LPCITEMIDLIST relative,
                                       SFGAOF attributes) {
  // The name SHGetFileInfo gives, asked of the folder already bound instead of a new binding.
  WidePath name;
  NameInFolder(folder, relative, SHGDN_INFOLDER, name);
  ShellItemLook look;
  look.text = ToAnsi(name);
  bool plain = false;
  if (folderPath[0] != L'\0' && (attributes & SFGAO_FILESYSTEM)) {
    NameInFolder(folder, relative, SHGDN_INFOLDER | SHGDN_FORPARSING, name);
    plain = CertainlyWithoutDesktopIni(folderPath, name);
  }
  if (plain && plainFolderIcons_) {
    look.icon = plainFolderIcons_->first;
    look.openIcon = plainFolderIcons_->second;
    return look;
  }
  const ShellItemLook shell = LookThroughShell(absolutePidl);
  look.icon = shell.icon;
  look.openIcon = shell.openIcon;
  if (plain) plainFolderIcons_.emplace(look.icon, look.openIcon);
  return look;
}

HTREEITEM ShellTreeView::InsertItem(HTREEITEM parent, LPITEMIDLIST absolutePidl,
                                    const ShellItemLook& look, bool hasChildren) {
  UniquePidl owned(absolutePidl);
  std::string text = look.text;
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
  insert.item.pszText = text.data();
  insert.item.iImage = look.icon;
  insert.item.iSelectedImage = look.openIcon;
  insert.item.cChildren = hasChildren ? 1 : 0;
  insert.item.lParam = reinterpret_cast<LPARAM>(owned.Get());
  auto item = reinterpret_cast<HTREEITEM>(
      ::SendMessageA(Handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  if (item) owned.Release();  // from now on TVN_DELETEITEM frees it
  return item;
}

LPITEMIDLIST ShellTreeView::ItemPidl(HTREEITEM item) const {
  TVITEMA data{};
  data.mask = TVIF_PARAM | TVIF_HANDLE;
  data.hItem = item;
  if (!::SendMessageA(Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data))) return nullptr;
  return reinterpret_cast<LPITEMIDLIST>(data.lParam);
}

void ShellTreeView::FillChildren(HTREEITEM item) {
  if (::SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item))) {
    return;  // read on an earlier expansion
  }
  LPITEMIDLIST parentPidl = ItemPidl(item);
  if (!parentPidl) return;
  ComPtr<IShellFolder> folder = BindToFolder(parentPidl);
  std::vector<UniquePidl> children;
  ComPtr<IEnumIDList> enumerator;
  // Folders only: the shell leaves the files of a folder out of the enumeration, so a folder of
  // tens of thousands of files is read without putting a single file into the tree.
  if (folder && folder->EnumObjects(Handle(), SHCONTF_FOLDERS, enumerator.Put()) == S_OK &&
      enumerator) {
    LPITEMIDLIST child = nullptr;
    while (enumerator->Next(1, &child, nullptr) == S_OK) children.emplace_back(child);
  }
  std::sort(children.begin(), children.end(), [&](const UniquePidl& a, const UniquePidl& b) {
    const HRESULT order = folder->CompareIDs(0, a.Get(), b.Get());
    return static_cast<short>(HRESULT_CODE(order)) < 0;
  });

  // The desktop merges the folders of more than one place, so its children's paths are not those
  // of its own folder: they take the shell's way to their icons.
  WidePath folderPath = L"";
  if (parentPidl->mkid.cb == 0 || !::SHGetPathFromIDListW(parentPidl, folderPath)) {
    folderPath[0] = L'\0';
  }

  RedrawSuspension noRedraw(Handle());
  int inserted = 0;
  for (const UniquePidl& child : children) {
    LPCITEMIDLIST relative = child.Get();
    SFGAOF attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_STREAM | SFGAO_FILESYSTEM;
    if (FAILED(folder->GetAttributesOf(1, &relative, &attributes))) continue;
    // Archives that the shell shows as folders are files, not places to read or write.
    if (!(attributes & SFGAO_FOLDER) || (attributes & SFGAO_STREAM)) continue;
    UniquePidl absolute(::ILCombine(parentPidl, relative));
    if (!absolute) continue;
    const ShellItemLook look =
        ChildLook(*folder.Get(), folderPath, absolute.Get(), relative, attributes);
    if (InsertItem(item, absolute.Release(), look, attributes & SFGAO_HASSUBFOLDER)) ++inserted;
  }
  if (inserted == 0) {
    // Nothing below: drop the expand button.
    TVITEMA data{};
    data.mask = TVIF_CHILDREN | TVIF_HANDLE;
    data.hItem = item;
    data.cChildren = 0;
    ::SendMessageA(Handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&data));
  }
}

void ShellTreeView::SelectItemUnderMouse() {
  const DWORD position = ::GetMessagePos();
  TVHITTESTINFO hit{};
  hit.pt.x = static_cast<short>(LOWORD(position));
  hit.pt.y = static_cast<short>(HIWORD(position));
  ::ScreenToClient(Handle(), &hit.pt);
  ::SendMessageA(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  if (hit.hItem && (hit.flags & TVHT_ONITEM)) {
    ::SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hit.hItem));
  }
}

LRESULT ShellTreeView::HandleNotify(NMHDR& header) {
  switch (header.code) {
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW: {
      // The A and W forms differ only in where the item text points, which is not read here.
      const auto& change = reinterpret_cast<const NMTREEVIEWA&>(header);
      if (change.action & TVE_EXPAND) FillChildren(change.itemNew.hItem);
      return 0;
    }
    case TVN_DELETEITEMA:
    case TVN_DELETEITEMW: {
      const auto& change = reinterpret_cast<const NMTREEVIEWA&>(header);
      ::CoTaskMemFree(reinterpret_cast<LPITEMIDLIST>(change.itemOld.lParam));
      return 0;
    }
    case NM_CLICK:
      // The tree selects a clicked item only after this notification; the handler must see
      // the folder that was clicked as the selected one, so select it first.
      SelectItemUnderMouse();
      RaiseEvent(onClick_);
      return 0;
    case NM_RCLICK:
      if (rightClickSelect_) SelectItemUnderMouse();
      return 0;
    default:
      return 0;
  }
}

std::string ShellTreeView::Path() const {
  if (destroying_ || !Handle()) return std::string();
  auto selected =
      reinterpret_cast<HTREEITEM>(::SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!selected) return std::string();
  LPITEMIDLIST pidl = ItemPidl(selected);
  char path[MAX_PATH] = "";
  if (!pidl || !::SHGetPathFromIDListA(pidl, path)) return std::string();
  return path;
}

LRESULT CALLBACK ShellTreeView::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam, UINT_PTR /*id*/, DWORD_PTR self) {
  auto* tree = reinterpret_cast<ShellTreeView*>(self);
  if (message == WM_DESTROY) {
    tree->destroying_ = true;
    // Free every item's ID list now, through TVN_DELETEITEM, while the parent still routes
    // notifications to this object.
    ::SendMessageA(window, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  } else if (message == WM_NCDESTROY) {
    ::RemoveWindowSubclass(window, &ShellTreeView::SubclassProc, 1);
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace vx::ui
