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
  HTREEITEM root = InsertItem(TVI_ROOT, desktop.Release(), true);
  if (root) ::SendMessageA(Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
}

HTREEITEM ShellTreeView::InsertItem(HTREEITEM parent, LPITEMIDLIST absolutePidl, bool hasChildren) {
  UniquePidl owned(absolutePidl);
  SHFILEINFOA normal{};
  ::SHGetFileInfoA(reinterpret_cast<LPCSTR>(absolutePidl), 0, &normal, sizeof(normal),
                   SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  SHFILEINFOA open{};
  ::SHGetFileInfoA(reinterpret_cast<LPCSTR>(absolutePidl), 0, &open, sizeof(open),
                   SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON);

  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
  insert.item.pszText = normal.szDisplayName;
  insert.item.iImage = normal.iIcon;
  insert.item.iSelectedImage = open.iIcon;
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

  RedrawSuspension noRedraw(Handle());
  int inserted = 0;
  for (const UniquePidl& child : children) {
    LPCITEMIDLIST relative = child.Get();
    SFGAOF attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_STREAM;
    if (FAILED(folder->GetAttributesOf(1, &relative, &attributes))) continue;
    // Archives that the shell shows as folders are files, not places to read or write.
    if (!(attributes & SFGAO_FOLDER) || (attributes & SFGAO_STREAM)) continue;
    if (InsertItem(item, ::ILCombine(parentPidl, relative), attributes & SFGAO_HASSUBFOLDER)) {
      ++inserted;
    }
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
