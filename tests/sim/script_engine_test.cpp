// The host's JavaScript engine through its suite: what a script's result
// is, the preferences it sets, action files it loads and actions it plays.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "action_file_layout.h"
#include "host_state.h"
#include "sim_host_test_support.h"

namespace simtest {
namespace {

std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }
std::string Narrow(const host::ASUnicode* text) {
  std::string out;
  for (; text && *text; ++text) out += *text < 0x80 ? char(*text) : '?';
  return out;
}

// Files of one test in a folder of its own under the temporary folder.
struct Scratch {
  Scratch() {
    folder = std::filesystem::temp_directory_path() / ("qb_engine_test_" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(folder);
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    const std::filesystem::path path = folder / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  std::filesystem::path folder;
};

// "C:\Temp\x.atn" as scripts write it: "/C/Temp/x.atn".
std::string ScriptPath(const std::string& path) {
  std::string out;
  size_t from = 0;
  if (path.size() > 1 && path[1] == ':') {
    out.push_back('/');
    out.push_back(path[0]);
    from = 2;
  }
  for (size_t i = from; i < path.size(); ++i) out.push_back(path[i] == '\\' ? '/' : path[i]);
  return out;
}

class ScriptEngine : public HostTest {
 protected:
  void SetUp() override {
    StartHost(Json::parse(R"({"documents":[{"title":"a.psd"},{"title":"b.psd"}]})"));
    const void* table = nullptr;
    ASSERT_EQ(basic->AcquireSuite(host::kJavaScriptSuiteName, 2, &table), 0);
    js = static_cast<const host::JavaScriptSuite*>(table);
  }
  void TearDown() override {
    basic->ReleaseSuite(host::kJavaScriptSuiteName, 2);
    HostTest::TearDown();
  }

 public:
  // Runs a script in a fresh engine, as the plug-in does: the suite's
  // answer, and the result text in `text`.
  host::ASErr Run(const std::string& script, std::string* text = nullptr) {
    host::EngineRef engine = nullptr;
    EXPECT_EQ(js->CreateEngine(&engine), 0);
    const std::u16string wide = Wide(script);
    const host::ASUnicode* result = nullptr;
    const host::ASErr e = js->ExecuteScript(engine, reinterpret_cast<const host::ASUnicode*>(wide.c_str()), 1, &result);
    if (text) *text = Narrow(result);
    EXPECT_EQ(js->DeleteEngine(engine), 0);
    return e;
  }
  Json Preferences() { return sim::ModelState()["preferences"]; }

 protected:
  const host::JavaScriptSuite* js = nullptr;
  Scratch scratch;
};

constexpr host::ASErr kScriptError = 0x53634572;   // 'ScEr'

TEST_F(ScriptEngine, ASyntaxErrorAnswersTheEnginesMessageAndTheLineShowsIt) {
  std::string text;
  EXPECT_EQ(Run("var x = ;", &text), kScriptError);
  EXPECT_TRUE(text.starts_with("SyntaxError: ")) << text;
  EXPECT_EQ(Run("1 + 2", &text), 0);
  EXPECT_EQ(text, "3");
  EXPECT_EQ(Run("throw new Error('stop here')", &text), kScriptError);
  EXPECT_EQ(text, "Error: stop here");
  EXPECT_EQ(Run("undefinedFunction()", &text), kScriptError);
  EXPECT_TRUE(text.starts_with("ReferenceError: ")) << text;

  const auto lines = OfKind(sim::TakeTranscript(), {"script"});
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0]["text"], "var x = ;");
  EXPECT_EQ(lines[0]["result"], kScriptError);
  EXPECT_TRUE(lines[0]["message"].get<std::string>().starts_with("SyntaxError: "));
  EXPECT_EQ(lines[1]["result"], 0);
  EXPECT_FALSE(lines[1].contains("message"));
}

TEST_F(ScriptEngine, EachEngineKeepsItsOwnGlobals) {
  host::EngineRef first = nullptr, second = nullptr;
  ASSERT_EQ(js->CreateEngine(&first), 0);
  ASSERT_EQ(js->CreateEngine(&second), 0);
  const std::u16string set = Wide("var kept = 'yes'"), read = Wide("typeof kept");
  const host::ASUnicode* result = nullptr;
  auto text = [](const std::u16string& s) { return reinterpret_cast<const host::ASUnicode*>(s.c_str()); };
  EXPECT_EQ(js->ExecuteScript(first, text(set), 1, &result), 0);
  EXPECT_EQ(js->ExecuteScript(first, text(read), 1, &result), 0);
  EXPECT_EQ(Narrow(result), "string");
  EXPECT_EQ(js->ExecuteScript(second, text(read), 1, &result), 0);
  EXPECT_EQ(Narrow(result), "undefined");
  EXPECT_EQ(js->DeleteEngine(first), 0);
  EXPECT_EQ(js->DeleteEngine(second), 0);
  EXPECT_NE(js->ExecuteScript(first, text(read), 1, &result), 0);   // deleted
  EXPECT_EQ(OfKind(sim::TakeTranscript(), {"misuse"}).size(), 1u);
}

// The script the plug-in's settings put into effect, with every value the
// non-default one.
constexpr const char* kPreferenceScript =
    "app.preferences.autoUpdateOpenDocuments = 1;\n"
    "app.preferences.fontPreviewSize = FontPreviewType.LARGE;\n"
    "app.preferences.interpolation = ResampleMethod.BICUBICSHARPER;\n"
    "app.preferences.createFirstSnapshot = 0;\n"
    "app.preferences.nonLinearHistory = 1;\n"
    "var value = 1;\n app.preferences.useHistoryLog = value;\n if (value) {\n"
    "app.preferences.saveLogItems = SaveLogItemsType.METADATA;\n"
    " app.preferences.editLogItems = EditLogItemsType.DETAILED;\n}";

TEST_F(ScriptEngine, ThePreferenceScriptSetsTheModelsPreferences) {
  EXPECT_EQ(Preferences(), Json::parse(R"({"autoUpdateOpenDocuments":false,
    "fontPreviewSize":"FontPreviewType.MEDIUM","interpolation":"ResampleMethod.BICUBIC",
    "createFirstSnapshot":true,"nonLinearHistory":false,"useHistoryLog":false,
    "saveLogItems":"SaveLogItemsType.METADATA","editLogItems":"EditLogItemsType.SESSIONONLY"})"));
  ASSERT_EQ(Run(kPreferenceScript), 0);
  EXPECT_EQ(Preferences(), Json::parse(R"({"autoUpdateOpenDocuments":true,
    "fontPreviewSize":"FontPreviewType.LARGE","interpolation":"ResampleMethod.BICUBICSHARPER",
    "createFirstSnapshot":false,"nonLinearHistory":true,"useHistoryLog":true,
    "saveLogItems":"SaveLogItemsType.METADATA","editLogItems":"EditLogItemsType.DETAILED"})"));
  std::string text;
  EXPECT_EQ(Run("String(app.preferences.interpolation) + ' ' + app.preferences.createFirstSnapshot", &text), 0);
  EXPECT_EQ(text, "ResampleMethod.BICUBICSHARPER false");
  sim::RecordState();
  const auto states = OfKind(sim::TakeTranscript(), {"state"});
  ASSERT_EQ(states.size(), 1u);
  EXPECT_EQ(states[0]["preferences"]["fontPreviewSize"], "FontPreviewType.LARGE");
}

TEST_F(ScriptEngine, APreferenceSetInADroppedHistoryStepStaysSet) {
  host::Reference document = TargetRef(C("Dcmn"));
  auto procedure = [](void* data) -> host::SPErr {
    EXPECT_EQ(static_cast<ScriptEngine*>(data)->Run("app.preferences.createFirstSnapshot = 0"), 0);
    return host::kInterruptedError;
  };
  EXPECT_NE(control->SuspendHistory(document, procedure, this, nullptr), 0);
  ref->Free(document);
  EXPECT_EQ(Preferences()["createFirstSnapshot"], false);
}

TEST_F(ScriptEngine, AnUnknownPreferenceOrAValueOfTheWrongKindThrowsAndChangesNothing) {
  const Json before = Preferences();
  std::string text;
  for (const char* script : {"app.preferences.autoUpdateOpenDocument = 1",
                             "app.preferences.fontPreviewSize = 2",
                             "app.preferences.fontPreviewSize = ResampleMethod.BICUBIC",
                             "app.preferences.interpolation = 'BICUBIC'",
                             "app.preferences.createFirstSnapshot = 'yes'",
                             "app.preferences.nonLinearHistory = undefined",
                             "delete app.preferences.useHistoryLog",
                             "FontPreviewType.LARGE = 1; app.preferences.fontPreviewSize = FontPreviewType.LARGE; "
                             "app.preferences.x = 1"}) {
    EXPECT_EQ(Run(script, &text), kScriptError) << script;
    EXPECT_TRUE(text.starts_with("Error: ") || text.starts_with("TypeError: ")) << script << ": " << text;
  }
  // The last one set the font preview size before it failed, as a real
  // engine does: statements before the error keep their effect.
  Json expected = before;
  expected["fontPreviewSize"] = "FontPreviewType.LARGE";
  EXPECT_EQ(Preferences(), expected);
}

TEST_F(ScriptEngine, FilesTakeScriptPathsAndWindowsPaths) {
  const std::string path = scratch.Write("x.jsx", "1");
  std::string text;
  EXPECT_EQ(Run("var f = new File('" + ScriptPath(path) + "'); f.exists + ' ' + f.fsName", &text), 0);
  EXPECT_EQ(text, "true " + path);
  std::string escaped;
  for (char ch : path) escaped += ch == '\\' ? std::string("\\\\") : std::string(1, ch);
  EXPECT_EQ(Run("var f = File('" + escaped + "'); f.exists + ' ' + f.name + ' ' + (f.fullName == '" +
                    ScriptPath(path) + "')",
                &text),
            0);
  EXPECT_EQ(text, "true x.jsx true");
  EXPECT_EQ(Run("new File('/C/no/such/file.atn').exists", &text), 0);
  EXPECT_EQ(text, "false");
  EXPECT_EQ(Run("new File('/C/no/such/file.atn').fsName", &text), 0);
  EXPECT_EQ(text, "C:\\no\\such\\file.atn");
}

TEST_F(ScriptEngine, LoadingAnActionFileAddsItsSetAndDoActionRunsItsScriptStep) {
  const std::string script =
      scratch.Write("UIActivate.jsx", "var win = new Window('dialog','',[0,0,0,0]); activated = win.type;");
  const std::string atn = scratch.Write("Quillbright.atn", layout::ActionFile("Quillbright", {{"UIActivate", {{script}}}}));
  std::string text;
  ASSERT_EQ(Run("var atnFile = new File('" + ScriptPath(atn) + "'); app.load(atnFile); "
                "app.doAction('UIActivate','Quillbright'); activated",
                &text),
            0)
      << text;
  EXPECT_EQ(text, "dialog");
  const Json sets = sim::ModelState()["actionSets"];
  ASSERT_EQ(sets.size(), 1u);
  EXPECT_EQ(sets[0]["name"], "Quillbright");
  EXPECT_EQ(sets[0]["actions"], Json::array({"UIActivate"}));
  EXPECT_EQ(sets[0]["steps"][0][0]["script"], script);
  const auto actions = OfKind(sim::TakeTranscript(), {"action"});
  ASSERT_EQ(actions.size(), 1u);
  EXPECT_EQ(actions[0]["set"], "Quillbright");
  EXPECT_EQ(actions[0]["name"], "UIActivate");

  // The plug-in's Get finds it, and its delete takes it away again.
  host::Reference r = nullptr;
  ref->Make(&r);
  ref->PutName(r, C("ASet"), "Quillbright");
  host::Descriptor d = DescriptorWithTarget(r);
  host::Descriptor result = nullptr;
  EXPECT_EQ(control->Play(&result, C("Dlt "), d, 2), 0);
  if (result) desc->Free(result);
  desc->Free(d);
  ref->Free(r);
  EXPECT_TRUE(sim::ModelState()["actionSets"].empty());
  EXPECT_EQ(Run("app.doAction('UIActivate','Quillbright')", &text), kScriptError);
  EXPECT_EQ(text, "Error: There is no action set \"Quillbright\"");
}

TEST_F(ScriptEngine, WhatCannotBeLoadedOrPlayedThrowsAClearError) {
  std::string text;
  EXPECT_EQ(Run("app.load(new File('/C/no/such/file.atn'))", &text), kScriptError);
  EXPECT_EQ(text, "Error: File or folder does not exist: C:\\no\\such\\file.atn");

  std::string broken = layout::ActionFile("Set", {{"A", {{"C:\\a.jsx"}}}});
  broken[3] = 12;   // file version 12
  const std::string old = scratch.Write("old.atn", broken);
  EXPECT_EQ(Run("app.load(new File('" + ScriptPath(old) + "'))", &text), kScriptError);
  EXPECT_EQ(text, "Error: Could not load the actions from " + old + ": file version 12, not 16 at byte 4");
  EXPECT_EQ(Run("app.load(42)", &text), kScriptError);
  EXPECT_TRUE(text.starts_with("TypeError: ")) << text;

  // A step whose script has an error fails the action and the script that
  // played it; one whose script is gone likewise.
  const std::string bad = scratch.Write("bad.jsx", "var = 1");
  const std::string atn = scratch.Write(
      "s.atn", layout::ActionFile("S", {{"Bad", {{bad}}}, {"Gone", {{"C:\\no\\such.jsx"}}}, {"Self", {}}}));
  ASSERT_EQ(Run("app.load('" + ScriptPath(atn) + "')"), 0);
  EXPECT_EQ(Run("app.doAction('Bad', 'S')", &text), kScriptError);
  EXPECT_TRUE(text.starts_with("SyntaxError: ")) << text;
  EXPECT_EQ(Run("app.doAction('Gone', 'S')", &text), kScriptError);
  EXPECT_EQ(text, "Error: File or folder does not exist: C:\\no\\such.jsx");
  EXPECT_EQ(Run("app.doAction('Missing', 'S')", &text), kScriptError);
  EXPECT_EQ(text, "Error: There is no action \"Missing\" in the set \"S\"");
  EXPECT_EQ(Run("app.doAction('Self', 'S')", &text), 0) << "an action without steps plays nothing";
}

TEST_F(ScriptEngine, PlayingAnActionByEventRunsItsScriptsAndAMissingOneIsRefused) {
  const std::string script = scratch.Write("snap.jsx", "app.preferences.createFirstSnapshot = false;");
  const std::string bad = scratch.Write("bad.jsx", "throw new Error('no')");
  const std::string atn =
      scratch.Write("p.atn", layout::ActionFile("Set", {{"Snap", {{script}}}, {"Bad", {{bad}}}}));
  ASSERT_EQ(Run("app.load('" + ScriptPath(atn) + "')"), 0);
  auto play = [&](const char* action, const char* set) {
    host::Reference r = nullptr;
    ref->Make(&r);
    ref->PutName(r, C("Actn"), action);
    ref->PutName(r, C("ASet"), set);
    host::Descriptor d = DescriptorWithTarget(r);
    host::Descriptor result = nullptr;
    const host::OSErr e = control->Play(&result, C("Ply "), d, 2);
    if (result) desc->Free(result);
    desc->Free(d);
    ref->Free(r);
    return e;
  };
  EXPECT_EQ(play("Snap", "Set"), 0);
  EXPECT_EQ(Preferences()["createFirstSnapshot"], false);
  EXPECT_EQ(play("Bad", "Set"), -25920);
  EXPECT_EQ(play("Snap", "Other"), -25920);
  EXPECT_EQ(play("Other", "Set"), -25920);
  const auto lines = sim::TakeTranscript();
  EXPECT_TRUE(OfKind(lines, {"error"}).empty());
  EXPECT_EQ(OfKind(lines, {"action"}).size(), 2u);
  EXPECT_EQ(Document()["history"], Json::parse(R"(["Open"])"));
}

TEST_F(ScriptEngine, AnActionThatPlaysItselfEndsWithAnError) {
  const std::string script = scratch.Write("again.jsx", "app.doAction('Again', 'Loop');");
  const std::string atn = scratch.Write("loop.atn", layout::ActionFile("Loop", {{"Again", {{script}}}}));
  std::string text;
  EXPECT_EQ(Run("app.load('" + ScriptPath(atn) + "'); app.doAction('Again', 'Loop')", &text), kScriptError);
  EXPECT_EQ(text, "Error: Actions nested too deep");
  EXPECT_EQ(Run("app.doAction('Again', 'Loop')", &text), kScriptError) << "the depth starts again at 0";
  EXPECT_EQ(OfKind(sim::TakeTranscript(), {"action"}).size(), 32u);
}

// The editor's main window with the message-box answerer on, for scripts
// that show boxes; both go again at the end of the test.
struct AnsweredMainWindow {
  AnsweredMainWindow() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"simhost-test-script-owner";
    RegisterClassW(&wc);
    window = CreateWindowW(wc.lpszClassName, L"main", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                           wc.hInstance, nullptr);
    sim::SetMainWindow(window);
    sim::InstallMessageBoxAnswerer();
  }
  ~AnsweredMainWindow() {
    sim::RemoveMessageBoxAnswerer();
    sim::SetMainWindow(nullptr);
    DestroyWindow(window);
  }
  HWND window = nullptr;
};

TEST_F(ScriptEngine, AlertShowsAMessageBoxAndTheScriptGoesOnOnceItIsAnswered) {
  AnsweredMainWindow main;
  std::string text;
  EXPECT_EQ(Run("alert('Tidy.jsx'); 'after'", &text), 0) << text;
  EXPECT_EQ(text, "after");
  EXPECT_EQ(Run("alert(6 * 7, 'Counting', true)", &text), 0) << text;
  EXPECT_EQ(Run("alert()", &text), 0) << text;
  const auto lines = OfKind(sim::TakeTranscript(), {"message", "script", "error"});
  ExpectLines(lines,
              {
                  R"l({"kind":"message","title":"Script Alert","text":"Tidy.jsx","buttons":"OK","icon":"warning","owner":"main","answer":"OK"})l",
                  R"l({"kind":"script","text":"alert('Tidy.jsx'); 'after'","result":0})l",
                  R"l({"kind":"message","title":"Counting","text":"42","buttons":"OK","icon":"error","owner":"main","answer":"OK"})l",
                  R"l({"kind":"script","text":"alert(6 * 7, 'Counting', true)","result":0})l",
                  R"l({"kind":"message","title":"Script Alert","text":"","buttons":"OK","icon":"warning","owner":"main","answer":"OK"})l",
                  R"l({"kind":"script","text":"alert()","result":0})l",
              });
}

TEST_F(ScriptEngine, TheApplicationAnswersItsDocuments) {
  std::string text;
  EXPECT_EQ(Run("app.documents.length + ' ' + app.activeDocument.name", &text), 0);
  EXPECT_EQ(text, "2 b.psd");
  EXPECT_EQ(Run("app.name + ' ' + app.version", &text), 0);
  EXPECT_EQ(text, "Adobe Photoshop Elements 8.0");
  sim::ApplyEdit(Json::parse(R"({"closeDocument": true})"));
  sim::ApplyEdit(Json::parse(R"({"closeDocument": true})"));
  EXPECT_EQ(Run("app.documents.length", &text), 0);
  EXPECT_EQ(text, "0");
  EXPECT_EQ(Run("app.activeDocument.name", &text), kScriptError);
  EXPECT_EQ(text, "Error: There is no open document");
}

}  // namespace
}  // namespace simtest
