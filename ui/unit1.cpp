#include "unit1.h"

#include "core/copy_run.h"
#include "core/gbk_texts.h"
#include "core/type_selection.h"
#include "show_message.h"
#include "win32/module_folder.h"
#include "win32/system_lead_bytes.h"
#include "win32/win32_file_system.h"

TForm1* Form1 = nullptr;

TForm1::TForm1() : Form("TForm1") {
  DeclareField("chklst1", chklst1);
  DeclareField("mmo1", mmo1);
  DeclareField("Button2", Button2);
  DeclareField("cxShellTreeView1", cxShellTreeView1);
  DeclareField("cxShellTreeView2", cxShellTreeView2);
  DeclareField("cxShellTreeView3", cxShellTreeView3);
  DeclareField("lbl1", lbl1);
  DeclareField("lbl2", lbl2);
  DeclareField("lbl3", lbl3);
  DeclareField("lbl4", lbl4);
  DeclareField("btn1", btn1);
  DeclareField("img1", img1);
  DeclareHandler("Button2Click", [this] { Button2Click(); });
  DeclareHandler("cxShellTreeView1Click", [this] { cxShellTreeView1Click(); });
  DeclareHandler("cxShellTreeView2Click", [this] { cxShellTreeView2Click(); });
  DeclareHandler("btn1Click", [this] { btn1Click(); });
}

void TForm1::SearchFile(const std::string& path) {
  vx::win32::Win32FileSystem fileSystem(vx::win32::SystemLeadBytes());
  for (const std::string& name : vx::ListTypeFolders(fileSystem, path)) chklst1->Add(name);
}

void TForm1::cxShellTreeView1Click() {
  chklst1->Clear();
  SearchFile(cxShellTreeView1->Path());
}

void TForm1::cxShellTreeView2Click() {
  mmo1->SetLines(vx::BuildSelectedTypeList(cxShellTreeView1->Path(), chklst1->Choices()));
}

void TForm1::Button2Click() {
  const vx::LeadBytes lead = vx::win32::SystemLeadBytes();
  vx::win32::Win32FileSystem fileSystem(lead);
  const vx::CopyRunFolders folders{cxShellTreeView1->Path(), cxShellTreeView2->Path(),
                                   cxShellTreeView3->Path(), vx::win32::ExecutableFolder(lead)};
  // The completion message is shown while the run log is still open; the log is closed once the
  // user has dismissed it.
  vx::RunCopy(fileSystem, lead, mmo1->Lines(), folders,
              [] { vx::ui::ShowMessage(vx::gbk::kRunComplete); });
}

void TForm1::btn1Click() {
  Close();
}
