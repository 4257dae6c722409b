// The window made from its form description: the description itself, and the real windows it
// gives, against the window's control table.
#include <windows.h>
// The headers below build on windows.h.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>

#include "tests/support/gbk.h"
#include "ui/application.h"
#include "ui/form_description.h"
#include "ui/resource_bytes.h"
#include "ui/unit1.h"

namespace vx {
namespace {

using testing::Gbk;
using ui::FormDescriptionError;
using ui::FormObject;
using ui::FormValue;

struct ControlRow {
  const char* name;
  const char* className;    // in the description
  const char* windowClass;  // of the window it becomes
  RECT bounds;              // left, top, right, bottom in client pixels
  const char* utf8Text;     // null: no text checked
};

// The control table, in field order.
const ControlRow kControls[] = {
    {"chklst1", "TCheckListBox", "ListBox", {253, 40, 473, 420}, nullptr},
    {"mmo1", "TMemo", "Edit", {264, 328, 465, 393}, nullptr},
    {"Button2", "TButton", "Button", {768, 448, 843, 473}, "开始搬运"},
    {"cxShellTreeView1", "TcxShellTreeView", "SysTreeView32", {16, 40, 236, 420}, nullptr},
    {"cxShellTreeView2", "TcxShellTreeView", "SysTreeView32", {490, 40, 710, 420}, nullptr},
    {"cxShellTreeView3", "TcxShellTreeView", "SysTreeView32", {728, 40, 948, 420}, nullptr},
    {"lbl1", "TLabel", "Static", {16, 24, 184, 36}, "步骤①：请选择周边文件根目录"},
    {"lbl2", "TLabel", "Static", {255, 24, 447, 36}, "步骤②：请选择需要匹配的周边类型"},
    {"lbl3", "TLabel", "Static", {488, 24, 686, 36}, "步骤③：请选择需要匹配的ROM文件夹"},
    {"lbl4", "TLabel", "Static", {728, 24, 884, 36}, "步骤④：请选择周边输出目录"},
    {"btn1", "TButton", "Button", {856, 448, 931, 473}, " 退出"},
    {"img1", "TImage", "VxImage", {16, 424, 716, 504}, nullptr},
};

void InitialiseOnce() {
  static const bool done = [] {
    ui::Application::Instance().Initialize();
    return true;
  }();
  (void)done;
}

long IntegerProperty(const FormObject& object, const char* name) {
  const ui::FormProperty* property = object.Find(name);
  if (!property || property->value.kind != FormValue::Kind::kInteger) {
    ADD_FAILURE() << object.name << " has no number " << name;
    return -1;
  }
  return property->value.integer;
}

std::string WindowText(HWND window) {
  char text[512] = "";
  ::GetWindowTextA(window, text, sizeof(text));
  return text;
}

std::string WindowClass(HWND window) {
  char name[64] = "";
  ::GetClassNameA(window, name, sizeof(name));
  return name;
}

RECT ClientBounds(HWND control) {
  RECT rect;
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

LOGFONTA FontOf(HWND window) {
  LOGFONTA font{};
  auto handle = reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
  EXPECT_NE(handle, nullptr);
  ::GetObjectA(handle, sizeof(font), &font);
  return font;
}

TEST(FormDescription, TheEmbeddedDescriptionMatchesTheControlTable) {
  const FormObject form = ui::ParseFormDescription(ui::LoadResourceBytes("TFORM1"));
  EXPECT_EQ(form.name, "Form1");
  EXPECT_EQ(form.className, "TForm1");
  ASSERT_NE(form.Find("Caption"), nullptr);
  EXPECT_EQ(form.Find("Caption")->value.text, "Vornitax2021 By Quelbrin 20210413");
  EXPECT_EQ(IntegerProperty(form, "ClientWidth"), 960);
  EXPECT_EQ(IntegerProperty(form, "ClientHeight"), 511);
  ASSERT_NE(form.Find("Font.Name"), nullptr);
  EXPECT_EQ(form.Find("Font.Name")->value.text, Gbk("宋体"));  // stored as code page 936

  ASSERT_EQ(form.children.size(), std::size(kControls));
  for (std::size_t i = 0; i < std::size(kControls); ++i) {
    const ControlRow& row = kControls[i];
    const FormObject& control = form.children[i];
    SCOPED_TRACE(row.name);
    EXPECT_EQ(control.name, row.name);
    EXPECT_EQ(control.className, row.className);
    EXPECT_EQ(IntegerProperty(control, "Left"), row.bounds.left);
    EXPECT_EQ(IntegerProperty(control, "Top"), row.bounds.top);
    EXPECT_EQ(IntegerProperty(control, "Width"), row.bounds.right - row.bounds.left);
    EXPECT_EQ(IntegerProperty(control, "Height"), row.bounds.bottom - row.bounds.top);
    if (row.utf8Text) {
      ASSERT_NE(control.Find("Caption"), nullptr);
      EXPECT_EQ(control.Find("Caption")->value.text, Gbk(row.utf8Text));
    }
  }
}

TEST(FormDescription, ReadsEveryKindOfValue) {
  const FormObject form = ui::ParseFormDescription(
      "// comment\r\n"
      "object F: TF\r\n"
      "  Number = -12\r\n"
      "  Text = 'it''s'\r\n"
      "  Word = clBtnFace\r\n"
      "  Set = [biSystemMenu, biMinimize]\r\n"
      "  Empty = []\r\n"
      "  object C: TC\r\n"
      "  end\r\n"
      "end\r\n");
  EXPECT_EQ(form.Find("Number")->value.integer, -12);
  EXPECT_EQ(form.Find("Text")->value.text, "it's");
  EXPECT_EQ(form.Find("Word")->value.kind, FormValue::Kind::kWord);
  EXPECT_EQ(form.Find("Word")->value.text, "clBtnFace");
  EXPECT_EQ(form.Find("Set")->value.words,
            (std::vector<std::string>{"biSystemMenu", "biMinimize"}));
  EXPECT_TRUE(form.Find("Empty")->value.words.empty());
  ASSERT_EQ(form.children.size(), 1u);
  EXPECT_EQ(form.children[0].className, "TC");
}

int ErrorLine(const std::string& text) {
  try {
    ui::ParseFormDescription(text);
  } catch (const FormDescriptionError& error) {
    return error.Line();
  }
  return 0;
}

TEST(FormDescription, MalformedLinesAreReportedWithTheirNumber) {
  EXPECT_EQ(ErrorLine("object F: TF\n  Caption = 'open\nend\n"), 2);
  EXPECT_EQ(ErrorLine("object F: TF\n  Left = 1\n  Left = 2\nend\n"), 3);
  EXPECT_EQ(ErrorLine("object F: TF\n  object C: TC\nend\n"), 1);  // F never ends
  EXPECT_EQ(ErrorLine("end\n"), 1);
  EXPECT_EQ(ErrorLine("object F: TF\n  Left 5\nend\n"), 2);
  EXPECT_EQ(ErrorLine("object F: TF\n  Top = 1x\nend\n"), 2);
  EXPECT_EQ(ErrorLine("object F: TF\nend\nobject G: TG\nend\n"), 3);
  EXPECT_EQ(ErrorLine(""), 1);
}

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    InitialiseOnce();
    form_.Create();
  }
  HWND Control(const char* name) const {
    const ui::Control* control = form_.FindControl(name);
    return control ? control->Handle() : nullptr;
  }
  TForm1 form_;
};

TEST_F(MainWindow, FrameIsFixedCentredAndSized) {
  HWND window = form_.Handle();
  EXPECT_EQ(WindowClass(window), "TForm1");
  EXPECT_EQ(WindowText(window), "Vornitax2021 By Quelbrin 20210413");
  RECT client;
  ::GetClientRect(window, &client);
  EXPECT_EQ(client.right, 960);
  EXPECT_EQ(client.bottom, 511);
  const LONG style = ::GetWindowLongA(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  RECT frame;
  ::GetWindowRect(window, &frame);
  EXPECT_NEAR(frame.left + frame.right, ::GetSystemMetrics(SM_CXSCREEN), 1);
  EXPECT_NEAR(frame.top + frame.bottom, ::GetSystemMetrics(SM_CYSCREEN), 1);
  EXPECT_EQ(::GetClassLongPtrA(window, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
  EXPECT_NE(::GetClassLongPtrA(window, GCLP_HICON), 0);
}

TEST_F(MainWindow, EveryControlHasItsClassBoundsAndText) {
  for (const ControlRow& row : kControls) {
    SCOPED_TRACE(row.name);
    HWND control = Control(row.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(WindowClass(control), row.windowClass);
    const RECT bounds = ClientBounds(control);
    EXPECT_EQ(bounds.left, row.bounds.left);
    EXPECT_EQ(bounds.top, row.bounds.top);
    EXPECT_EQ(bounds.bottom, row.bounds.bottom);
    if (std::strcmp(row.className, "TLabel") == 0) {
      // Labels widen to their text with a wider stand-in font, never narrow.
      EXPECT_GE(bounds.right, row.bounds.right);
    } else {
      EXPECT_EQ(bounds.right, row.bounds.right);
    }
    if (row.utf8Text) {
      EXPECT_EQ(WindowText(control), Gbk(row.utf8Text));
    }
    // The form itself is not shown here, so look at the control's own visibility.
    const bool visible = (::GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
    EXPECT_EQ(visible, std::strcmp(row.name, "mmo1") != 0);
  }
}

TEST_F(MainWindow, LabelsDoNotOverlapOnceWidened) {
  const char* labels[] = {"lbl1", "lbl2", "lbl3", "lbl4"};
  for (std::size_t i = 0; i + 1 < std::size(labels); ++i) {
    EXPECT_LE(ClientBounds(Control(labels[i])).right, ClientBounds(Control(labels[i + 1])).left)
        << labels[i];
  }
}

TEST_F(MainWindow, FontsAreAsDescribed) {
  const LOGFONTA windowFont = FontOf(Control("Button2"));
  EXPECT_EQ(windowFont.lfHeight, -12);
  EXPECT_EQ(windowFont.lfCharSet, GB2312_CHARSET);
  EXPECT_STREQ(windowFont.lfFaceName, Gbk("宋体").c_str());
  for (const char* name :
       {"btn1", "mmo1", "cxShellTreeView1", "cxShellTreeView2", "cxShellTreeView3"}) {
    EXPECT_EQ(FontOf(Control(name)).lfHeight, -12) << name;
  }
  const LOGFONTA listFont = FontOf(Control("chklst1"));
  EXPECT_EQ(listFont.lfHeight, -16);
  EXPECT_EQ(listFont.lfCharSet, GB2312_CHARSET);
  EXPECT_STREQ(listFont.lfFaceName, Gbk("宋体").c_str());
}

TEST_F(MainWindow, LabelsAreBlueOnTheButtonFace) {
  HDC dc = ::CreateCompatibleDC(nullptr);
  for (const char* name : {"lbl1", "lbl2", "lbl3", "lbl4"}) {
    ::SetTextColor(dc, RGB(1, 2, 3));
    const LRESULT brush =
        ::SendMessageA(form_.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                       reinterpret_cast<LPARAM>(Control(name)));
    EXPECT_EQ(::GetTextColor(dc), RGB(0, 0, 255)) << name;
    EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), ::GetSysColorBrush(COLOR_BTNFACE)) << name;
  }
  ::DeleteDC(dc);
}

TEST_F(MainWindow, ControlSettings) {
  HWND list = Control("chklst1");
  EXPECT_EQ(::SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), 16);
  const LONG listStyle = ::GetWindowLongA(list, GWL_STYLE);
  EXPECT_TRUE(listStyle & LBS_OWNERDRAWFIXED);
  EXPECT_TRUE(listStyle & LBS_HASSTRINGS);
  EXPECT_EQ(::SendMessageA(list, LB_GETCOUNT, 0, 0), 0);

  const LONG memoStyle = ::GetWindowLongA(Control("mmo1"), GWL_STYLE);
  EXPECT_TRUE(memoStyle & ES_MULTILINE);
  EXPECT_TRUE(memoStyle & WS_HSCROLL);
  EXPECT_TRUE(memoStyle & WS_VSCROLL);
  EXPECT_TRUE(memoStyle & ES_AUTOHSCROLL);  // no wrapping
  EXPECT_EQ(::GetWindowTextLengthA(Control("mmo1")), 0);

  for (ui::ShellTreeView* tree :
       {form_.cxShellTreeView1, form_.cxShellTreeView2, form_.cxShellTreeView3}) {
    EXPECT_EQ(::SendMessageA(tree->Handle(), TVM_GETINDENT, 0, 0), 19);
    EXPECT_TRUE(tree->RightClickSelect());
  }
}

TEST_F(MainWindow, TabOrderRunsThroughTheVisibleControls) {
  const char* expected[] = {"chklst1",          "Button2",          "cxShellTreeView1",
                            "cxShellTreeView2", "cxShellTreeView3", "btn1"};
  HWND current = Control(expected[0]);
  for (std::size_t i = 1; i <= std::size(expected); ++i) {
    current = ::GetNextDlgTabItem(form_.Handle(), current, FALSE);
    EXPECT_EQ(current, Control(expected[i % std::size(expected)])) << "after " << expected[i - 1];
  }
}

TEST_F(MainWindow, FieldsAreBoundToTheirControls) {
  EXPECT_EQ(form_.chklst1, form_.FindControl("chklst1"));
  EXPECT_EQ(form_.mmo1, form_.FindControl("mmo1"));
  EXPECT_EQ(form_.Button2, form_.FindControl("Button2"));
  EXPECT_EQ(form_.btn1, form_.FindControl("btn1"));
  EXPECT_EQ(form_.img1, form_.FindControl("img1"));
  EXPECT_EQ(form_.cxShellTreeView3, form_.FindControl("cxShellTreeView3"));
  EXPECT_EQ(form_.lbl4, form_.FindControl("lbl4"));
}

TEST_F(MainWindow, BannerIsTheTitleInOneColourOnTransparency) {
  const ui::PremultipliedPicture& banner = form_.img1->Picture();
  ASSERT_EQ(banner.width, 700);
  ASSERT_EQ(banner.height, 80);
  DIBSECTION dib{};
  ASSERT_EQ(::GetObjectA(banner.bitmap.Get(), sizeof(dib), &dib), static_cast<int>(sizeof(dib)));
  const auto* pixels = static_cast<const unsigned char*>(dib.dsBm.bmBits);
  int opaque = 0, transparent = 0;
  for (int i = 0; i < 700 * 80; ++i) {
    const unsigned char* bgra = pixels + i * 4;
    const int alpha = bgra[3];
    // Premultiplied: each channel is the colour scaled by alpha.
    EXPECT_NEAR(bgra[0], 166 * alpha / 255, 1);
    EXPECT_NEAR(bgra[1], 97 * alpha / 255, 1);
    EXPECT_NEAR(bgra[2], 5 * alpha / 255, 1);
    if (alpha == 255) ++opaque;
    if (alpha == 0) ++transparent;
    if (::testing::Test::HasFailure()) break;
  }
  EXPECT_GT(opaque, 5000);
  EXPECT_GT(transparent, 700 * 80 / 2);
  EXPECT_EQ(pixels[3], 0);  // top left corner
}

TEST(Resources, IconIs32By32In256Colours) {
  HMODULE module = ::GetModuleHandleA(nullptr);
  HRSRC group = ::FindResourceA(module, "MAINICON", MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  ASSERT_NE(group, nullptr);
  const auto* bytes =
      static_cast<const unsigned char*>(::LockResource(::LoadResource(module, group)));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(bytes[4] | bytes[5] << 8, 1);    // one picture
  EXPECT_EQ(bytes[6], 32);                   // width
  EXPECT_EQ(bytes[7], 32);                   // height
  EXPECT_EQ(bytes[12] | bytes[13] << 8, 8);  // bits per pixel: 256 colours
}

TEST(Resources, ManifestAsksForCommonControls6) {
  HMODULE module = ::GetModuleHandleA(nullptr);
  HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
  ASSERT_NE(found, nullptr);
  const std::string manifest(
      static_cast<const char*>(::LockResource(::LoadResource(module, found))),
      ::SizeofResource(module, found));
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
}

// A description whose text differs from the embedded one in one place.
std::string EmbeddedWith(const std::string& from, const std::string& to) {
  std::string text = ui::LoadResourceBytes("TFORM1");
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

std::string CreationError(const std::string& description) {
  InitialiseOnce();
  TForm1 form;
  try {
    form.CreateFrom(description);
  } catch (const std::exception& error) {
    return error.what();
  }
  return "";
}

TEST(FormBinding, EveryMismatchBetweenDescriptionAndClassIsRefused) {
  EXPECT_NE(CreationError(EmbeddedWith("OnClick = btn1Click", "OnClick = btn9Click"))
                .find("no handler btn9Click"),
            std::string::npos);
  EXPECT_NE(CreationError(EmbeddedWith("object img1: TImage", "object img1: TPicture"))
                .find("unknown control class TPicture"),
            std::string::npos);
  EXPECT_NE(CreationError(EmbeddedWith("object lbl4: TLabel", "object lbl5: TLabel"))
                .find("no field lbl5"),
            std::string::npos);
  EXPECT_NE(CreationError(EmbeddedWith("object lbl4: TLabel", "object lbl4: TButton"))
                .find("lbl4 has the wrong control class"),
            std::string::npos);
  EXPECT_NE(CreationError(EmbeddedWith("    Indent = 19", "    Indnet = 19"))
                .find("has no property Indnet"),
            std::string::npos);
  EXPECT_EQ(CreationError(ui::LoadResourceBytes("TFORM1")), "");
}

}  // namespace
}  // namespace vx
