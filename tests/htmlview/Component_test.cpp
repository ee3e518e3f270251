// Quillet as hosts see it: the built component module, registered and
// loaded through the runtime, with its entry points, version data, type
// description, information object and the viewer on real host controls.
#include <dlfcn.h>
#include <elf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "htmlview/Quillet.h"
#include "htmlview/ViewerFixture.h"
#include "htmlview/clsDLLInfo.h"
#include "platform/com/ComRegistry.h"
#include "platform/Services.h"

using namespace platform::com;

namespace {

struct QuilletComponent : testing::Test {
  void SetUp() override { ASSERT_EQ(CallRegistrationEntry(KV_QUILLET_MODULE, true), S_OK); }
  void TearDown() override { CoFreeUnusedLibraries(); }
  static std::string ModulePath() { return std::filesystem::canonical(KV_QUILLET_MODULE).string(); }
};

// The names a shared library exports: the defined global and weak symbols
// of its dynamic symbol table, sorted.
std::vector<std::string> ExportedNames(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> names;
  if (file.size() < sizeof(Elf64_Ehdr) || std::memcmp(file.data(), ELFMAG, SELFMAG) != 0 ||
      file[EI_CLASS] != ELFCLASS64) {
    ADD_FAILURE() << path << " is not a 64-bit ELF file";
    return names;
  }
  const auto& header = *reinterpret_cast<const Elf64_Ehdr*>(file.data());
  const auto* sections = reinterpret_cast<const Elf64_Shdr*>(file.data() + header.e_shoff);
  for (int i = 0; i < header.e_shnum; ++i) {
    if (sections[i].sh_type != SHT_DYNSYM) continue;
    const auto* symbols = reinterpret_cast<const Elf64_Sym*>(file.data() + sections[i].sh_offset);
    const char* strings = file.data() + sections[sections[i].sh_link].sh_offset;
    for (size_t k = 0; k < sections[i].sh_size / sizeof(Elf64_Sym); ++k) {
      const unsigned char bind = ELF64_ST_BIND(symbols[k].st_info);
      if (symbols[k].st_shndx != SHN_UNDEF && (bind == STB_GLOBAL || bind == STB_WEAK)) {
        names.emplace_back(strings + symbols[k].st_name);
      }
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Faults caught: an entry point missing, or code of the module exported
// (hosts could link against it, and its symbols could bind to the host's).
TEST_F(QuilletComponent, ExportsTheFourEntryPointsAndNothingElse) {
  EXPECT_EQ(ExportedNames(KV_QUILLET_MODULE),
            (std::vector<std::string>{"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer", "DllUnregisterServer"}));

  const ComponentRegistry registry = ReadComponentRegistry();
  ASSERT_TRUE(registry.FindProgID("Quillet.clsHTML"));
  EXPECT_EQ(registry.FindProgID("Quillet.clsHTML")->CLSID, Quillet::CLSID_clsHTML);
  EXPECT_EQ(registry.FindProgID("Quillet.clsDLLInfo")->InprocServer, ModulePath());
  EXPECT_EQ(registry.FindTypeLib(Quillet::LIBID_Quillet)->MinorVersion, 1);
}

TEST_F(QuilletComponent, CannotUnloadWhileAViewerCreatedByTheHostLives) {
  auto viewer = CreateObject<Quillet::_clsHTML>(Quillet::kclsHTML);
  void* handle = dlopen(ModulePath().c_str(), RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(handle, nullptr);
  auto canUnload = reinterpret_cast<DllCanUnloadNowFunction>(dlsym(handle, "DllCanUnloadNow"));
  EXPECT_EQ(canUnload(), S_FALSE);
  CoFreeUnusedLibraries();
  EXPECT_TRUE(IsComponentLoaded(ModulePath()));

  // The earlier interface identifier still reaches the same viewer.
  void* earlier = nullptr;
  ASSERT_EQ(viewer->QueryInterface(Quillet::IID_clsHTML_v0, &earlier), S_OK);
  EXPECT_EQ(earlier, static_cast<void*>(viewer.Get()));
  static_cast<Quillet::_clsHTML*>(earlier)->Release();

  viewer.Reset();
  EXPECT_EQ(canUnload(), S_OK);
  dlclose(handle);
  CoFreeUnusedLibraries();
  EXPECT_FALSE(IsComponentLoaded(ModulePath()));
}

TEST_F(QuilletComponent, InformationObjectReportsTheComponentOnlyWhenRunningAsOne) {
  auto info = Quillet::CreateclsDLLInfo();
  EXPECT_EQ(info->StartMode(), 1);
  EXPECT_EQ(info->Major(), 1);
  EXPECT_EQ(info->Minor(), 0);
  EXPECT_EQ(info->Revision(), 23);
  EXPECT_EQ(info->Path(), std::filesystem::path(ModulePath()).parent_path().string());
  EXPECT_EQ(info->EXEName(), "Quillet");
  EXPECT_EQ(info->Title(), "Quillet");
  EXPECT_FALSE(info->LegalCopyright().empty());
  EXPECT_FALSE(info->Comments().empty());
  EXPECT_EQ(CallByNumber(*info, Quillet::clsDLLInfoMember::Revision, InvokeKind::PropertyGet).AsLong(), 23);

  // The same class compiled into this program is not a component.
  void* raw = nullptr;
  ASSERT_EQ(clsDLLInfo::Create(Quillet::IID_clsDLLInfo_v0, &raw), S_OK);
  auto embedded = ComPtr<Quillet::_clsDLLInfo>::Attach(static_cast<Quillet::_clsDLLInfo*>(raw));
  EXPECT_EQ(embedded->StartMode(), 0);
  EXPECT_EQ(embedded->Revision(), 0);
  EXPECT_EQ(embedded->Path(), "");
  EXPECT_EQ(embedded->LegalCopyright(), "");
}

TEST_F(QuilletComponent, TypeDescriptionVersionDataAndIdentifierResources) {
  const ComponentInfo info = GetComponentInfo(Quillet::kclsHTML);
  const CoClassDesc* cls = info.TypeLib.FindClass("clsHTML");
  ASSERT_TRUE(cls);
  EXPECT_EQ(cls->SourceInterface, "__clsHTML");
  const InterfaceDesc* events = info.TypeLib.FindInterface("__clsHTML");
  ASSERT_TRUE(events);
  std::vector<std::string> names;
  for (const MemberDesc& m : events->Members) {
    std::string text = m.Name + "(";
    for (const ParamDesc& p : m.Params) text += (p.ByRef ? "&" : "") + p.Name + " ";
    names.push_back(text + ")");
  }
  EXPECT_EQ(names, (std::vector<std::string>{"LinkClick(vstrHRef &rintRet )", "LinkRightClick(vstrHRef )",
                                             "MouseDown(&Button )", "DispDone()"}));
  const MemberDesc* move = info.TypeLib.FindInterface("_clsHTML")->Find(Quillet::clsHTMLMember::Move, InvokeKind::Method);
  ASSERT_TRUE(move);
  EXPECT_EQ(move->Params.at(0).Name + move->Params.at(3).Name, "lh");

  EXPECT_EQ(info.Version.FileVersion, (std::array<uint16_t, 4>{1, 0, 0, 23}));
  EXPECT_EQ(info.Version.String("ProductVersion"), "1.00.0023");
  EXPECT_EQ(info.Version.String("OriginalFilename"), "Quillet.dll");
  EXPECT_TRUE(info.Version.Has("OLESelfRegister"));
  EXPECT_EQ(info.Version.Language, 0x411);

  const Resource* ids = info.FindResource("_IID_CLSHTML");
  ASSERT_TRUE(ids);
  ASSERT_EQ(ids->Data.size(), 36u);
  EXPECT_EQ(ids->Data[0], 32);
  EXPECT_EQ(ids->Data[4], Quillet::IID_clsHTML_v0.Data1 & 0xFF);  // the earlier one first
  EXPECT_EQ(ids->Data[20], Quillet::_clsHTML::IID.Data1 & 0xFF);
  EXPECT_TRUE(info.FindResource("_SRCIID_CLSHTML") && info.FindResource("_IID_CLSDLLINFO"));
}

struct HostedViewer : QuilletComponent {
  void SetUp() override {
    QuilletComponent::SetUp();
    using namespace platform;
    form = Controls().CreateForm(FormStyle{"frmHTMLHelp", "", vbSizable, false, false});
    form->Move(0, 0, 700 * 15, 500 * 15);
    back = Controls().CreatePictureBox(*form, "Picture1");
    back->Move(0, 0, 600 * 15, 400 * 15);
    canvas = Controls().CreatePictureBox(*back, "Picture3");
    work = Controls().CreatePictureBox(*form, "Picture2");
    scroll = Controls().CreateVScrollBar(*form, "VScroll1");
    mcHTML = std::make_unique<Quillet::clsHTMLWithEvents>();
    (*mcHTML)->SetCanvas(canvas.get());
    (*mcHTML)->SetWorkCanvas(work.get());
    (*mcHTML)->SetVScroll(scroll.get());
    (*mcHTML)->SetBackFrame(back.get());
    mcHTML->DispDone = [this] { ++dispDone; };
    mcHTML->LinkClick = [this](const std::string& vstrHRef, int16_t&) { clicked = vstrHRef; };
    mcHTML->MouseDown = [this](int16_t& Button) { ++downs, Button = 0; };
  }
  void TearDown() override {
    mcHTML.reset();  // before the controls, as the help window does
    QuilletComponent::TearDown();
  }

  std::unique_ptr<platform::IForm> form;
  std::unique_ptr<platform::IPictureBox> back, canvas, work;
  std::unique_ptr<platform::IVScrollBar> scroll;
  std::unique_ptr<Quillet::clsHTMLWithEvents> mcHTML;
  int dispDone = 0, downs = 0;
  std::string clicked;
};

TEST_F(HostedViewer, ShowsTheSampleHelpAndRaisesItsEventsToTheHost) {
  (*mcHTML)->SetHtmlFile(KV_SAMPLE_HELP "/index.htm");
  ASSERT_TRUE((*mcHTML)->DispHTML(false));
  EXPECT_EQ(dispDone, 1);
  EXPECT_NE((*mcHTML)->PlaneText().find("小さな日本語デスクトップ時計"), std::string::npos);
  EXPECT_EQ((*mcHTML)->Canvas(), canvas.get());

  // Press the left button down the contents until a link answers.
  for (int y = 0; y < 400 && clicked.empty(); y += 3)
    for (int x = 0; x < 120 && clicked.empty(); x += 6) canvas->MouseDown(platform::vbLeftButton, 0, x * 15, y * 15);
  EXPECT_EQ(clicked, "#start");
  EXPECT_GT(downs, 0);  // presses outside links came as MouseDown

  // The component opens addresses through the host's shell service.
  fakes::RecordingShell shell;
  platform::ScopedService<platform::IShell> installed(shell);
  (*mcHTML)->SetHtmlFile("http://example.com/kelvora");
  EXPECT_TRUE((*mcHTML)->DispHTML(false));
  EXPECT_EQ(shell.Opened, (std::vector<std::string>{"http://example.com/kelvora"}));
  EXPECT_EQ(dispDone, 1);
  EXPECT_EQ((*mcHTML)->HtmlFile(), KV_SAMPLE_HELP "/index.htm");
}

TEST_F(HostedViewer, MembersByNumberAsALateBoundHostCallsThem) {
  auto& html = mcHTML->Object();
  namespace m = Quillet::clsHTMLMember;
  std::vector<Variant> args{Variant(static_cast<platform::IControl*>(canvas.get()))};
  CallByNumber(html, m::Canvas, InvokeKind::PropertyPutRef, args);
  std::vector<Variant> file{"/help/index.htm"};
  CallByNumber(html, m::HtmlFile, InvokeKind::PropertyPut, file);
  std::vector<Variant> name{"intro"};
  CallByNumber(html, m::CurName, InvokeKind::PropertyPut, name);
  EXPECT_EQ(CallByNumber(html, m::CurName, InvokeKind::PropertyGet).AsString(), "#intro");
  EXPECT_EQ(CallByNumber(html, m::HtmlFile, InvokeKind::PropertyGet).AsString(), "/help/index.htm");
  EXPECT_EQ(CallByNumber(html, m::Canvas, InvokeKind::PropertyGet).AsControl(), canvas.get());
  EXPECT_FALSE(CallByNumber(html, m::DispHTML, InvokeKind::Method, file = {true}).AsBoolean());  // no such file

  std::vector<Variant> wrong{"大きく"};
  try {
    CallByNumber(html, m::FontSize, InvokeKind::PropertyPut, wrong);
    ADD_FAILURE() << "no error";
  } catch (const platform::RuntimeError& error) {
    EXPECT_EQ(error.Number(), 13);
  }
}

}  // namespace
