// The runner's side of the simulated editor: checking the scenario, loading
// the plug-in, the host's identity and the machine state a run starts from.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "editor_run.h"
#include "transcript_check.h"

namespace integration {
namespace {

// A run that calls the plug-in once and leaves its start-up and settings
// alone: no host event, no "Shutdown".
const Json kAboutOnly = Json::parse(R"({"steps": [{"select": "About"}]})");

TEST(ScenarioCheck, BadScenariosExitTwoWithOneLineNamingTheField) {
  struct Case {
    const char* scenario;
    const char* errorLine;
  };
  const Case cases[] = {
      {R"({"host": {"version": 100}})", "scenario: host.version: expected an integer 0..99"},
      {R"({"host": {"version": "8"}})", "scenario: host.version: expected an integer 0..99"},
      {R"({"host": {"product": "Lightroom"}})", "scenario: host.product: expected one of \"Elements\" \"Photoshop\""},
      {R"({"host": {"scripts": ["a\\b.jsx"]}})", "scenario: host.scripts[0]: expected a plain file name"},
      {R"({"plugin": {"settings": [true]}})", "scenario: plugin.settings[0]: expected a string or an integer"},
      {R"({"files": {"C:\\x.bin": "hex:0g"}})", "scenario: files.C:\\x.bin: expected \"hex:\" followed by pairs of hex digits"},
      {R"({"files": {"x.bin": "text"}})", "scenario: files.x.bin: expected an absolute Windows path as the key"},
      {R"({"documents": [{"layers": [{"name": "a"}, {"opacity": 300}]}]})",
       "scenario: documents[0].layers[1].opacity: expected an integer 0..255"},
      {R"({"documents": [{"layers": [{}], "target": [5]}]})", "scenario: documents[0].target[0]: expected a layer position 0..0"},
      {R"({"answers": {"messages": ["Maybe"]}})",
       "scenario: answers.messages[0]: expected one of \"OK\" \"Cancel\" \"Yes\" \"No\""},
      {R"({"steps": [{"select": "About"}, {"jump": 3}]})", "scenario: steps[1]: unknown step \"jump\""},
      {R"({"steps": [{"wait": 10, "state": true}]})", "scenario: steps[0]: expected one step, found \"wait\" and \"state\""},
      {R"({"steps": [{"wait": -1}]})", "scenario: steps[0].wait: expected an integer 0..600000"},
      {R"({"steps": [{"menu": "Layer", "choose": "Apply"}]})",
       "scenario: steps[0].choose: expected an item identifier 0..65535 or a list of labels"},
      {R"({"steps": [{"dialog": [{"press": 1090}, {"slide": 1}]}]})", "scenario: steps[0].dialog[1]: unknown dialog action"},
      {R"([])", "scenario: (top level): expected an object"},
      // A mistyped key would leave its field at the default.
      {R"({"hots": {"version": 11}})", "scenario: unknown key \"hots\" in the top level"},
      {R"({"documents": [{"layers": [{"opactiy": 10}]}]})", "scenario: unknown key \"opactiy\" in documents[0].layers[0]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scenario);
    EditorRun run = RunEditorOnText(c.scenario);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.errorLines, std::vector<std::string>{c.errorLine});
    EXPECT_TRUE(run.transcript.empty());
  }

  // Text that is no JSON at all: the line says so and where.
  EditorRun run = RunEditorOnText(R"({"host": )");
  EXPECT_EQ(run.exitCode, 2);
  ASSERT_EQ(run.errorLines.size(), 1u);
  EXPECT_EQ(run.errorLines[0].rfind("scenario: (file): not valid JSON", 0), 0u) << run.errorLines[0];
}

TEST(ScenarioCheck, ADialogStepNoDialogComesForIsReportedAndTheRunGoesOn) {
  // Actions for a dialog the plug-in never shows: the run goes on, the
  // screenshot after the step is taken, and the end of the run says so.
  EditorRun run = RunEditor(Json::parse(R"({"steps": [
      {"dialog": [{"set": 1040, "value": 50}, {"press": 1}]},
      {"screenshot": "layer-menu"}]})"), {}, {R"({"kind":"error"})"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.errorLines.empty()) << run.errorText;
  std::vector<Json> errors = OfKind(run.transcript, "error");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0]["text"], R"(the dialog step {"dialog":[{"set":1040,"value":50},{"press":1}]} found no dialog of the plug-in)");
  EXPECT_EQ(OfKind(run.transcript, "screenshot").size(), 1u);
}

TEST(PluginLoading, AMissingPluginOrEntryPointEndsTheRunWithStatusOne) {
  struct Case {
    const wchar_t* plugin;
    const char* reason;  // part of the error line's text
  };
  const Case cases[] = {
      {L"C:\\no such folder\\Quillbright.8li", "cannot be loaded"},
      // A library without a property list, as a host would find it.
      {L"C:\\windows\\system32\\version.dll", "has no PIPL resource 18500"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    EditorRun run = RunEditor(kAboutOnly, {L"--plugin", c.plugin}, {R"({"kind":"error"})"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errorLines.empty()) << run.errorText;
    ASSERT_EQ(run.transcript.size(), 1u);
    EXPECT_EQ(run.transcript[0]["kind"], "error");
    EXPECT_NE(run.transcript[0]["text"].get<std::string>().find(c.reason), std::string::npos) << run.transcript[0].dump();
  }
}

TEST(PluginLoading, AFaultInsideThePluginIsReportedNotSwallowed) {
  // faulty_plugin.8li throws from "Do It" and writes through null in "About".
  const std::wstring plugin = BinFolder() + L"\\faulty_plugin.8li";
#ifdef _WIN64
  const std::vector<ExpectedLine> expected = {
      // The exception is caught at the call; the run goes on.
      {"error", R"({"text": "the plug-in threw an exception from \"Do It\": thrown on purpose"})"},
      {"select", R"({"selector": "Startup", "result": 0})"},
      // The access violation ends the run, with the step named.
      {"error", R"({"text": "exception 0xC0000005 ended the editor during the step {\"select\":\"About\"}"})"},
  };
#else
  // On 32 bits the exception cannot leave the plug-in's own runtime, which
  // aborts: the run ends there, with the step named.
  const std::vector<ExpectedLine> expected = {
      {"error", R"({"text": "abort() ended the editor during the step {\"select\":\"Do It\"}"})"},
  };
#endif
  EditorRun run = RunEditor(Json::parse(R"({"steps": [
      {"select": "Do It"}, {"select": "Startup"}, {"select": "About"}, {"select": "Shutdown"}]})"),
                            {L"--plugin", plugin}, ProblemsIn(expected));
  EXPECT_EQ(run.exitCode, 1) << "a fault that ends the editor is the editor's failure";
  ExpectTranscript(run.transcript, {}, expected);
}

// The major file version of an executable's version resource; 0 when it has none.
int MajorFileVersion(const std::wstring& path) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return 0;
  std::string block(size, '\0');
  if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data())) return 0;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed) return 0;
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  return int(HIWORD(fixed->dwFileVersionMS));
}

TEST(HostIdentity, TheEditorRunsAsTheNamedProductWithTheRequestedVersion) {
  struct Case {
    const char* product;
    int version;
    const wchar_t* exe;
    const wchar_t* otherExe;
  };
  const Case cases[] = {
      {"Elements", 8, L"PhotoshopElementsEditor.exe", L"Photoshop.exe"},
      {"Elements", 11, L"PhotoshopElementsEditor.exe", L"Photoshop.exe"},
      {"Photoshop", 12, L"Photoshop.exe", L"PhotoshopElementsEditor.exe"},
      {"Elements", 0, L"PhotoshopElementsEditor.exe", L"Photoshop.exe"},  // 0: no version resource at all
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.product) + " " + std::to_string(c.version));
    Json scenario = kAboutOnly;
    scenario["host"] = {{"product", c.product}, {"version", c.version}};
    EditorRun run = RunEditor(scenario);
    EXPECT_EQ(run.exitCode, 0) << run.errorText;
    const std::wstring exe = HostFolder() + L"\\" + c.exe;
    EXPECT_TRUE(Exists(exe));
    EXPECT_FALSE(Exists(HostFolder() + L"\\" + c.otherExe)) << "the host folder is renewed each run";
    EXPECT_EQ(MajorFileVersion(exe), c.version);
    if (c.version == 0) {
      DWORD ignored = 0;
      EXPECT_EQ(GetFileVersionInfoSizeW(exe.c_str(), &ignored), 0u);
    }
  }
}

std::wstring RegistryString(const wchar_t* key, const wchar_t* name) {
  wchar_t value[512] = {};
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) return L"<absent>";
  return value;
}

std::wstring AppData() {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, path);
  return path;
}

std::string Utf16le(const std::wstring& text) {
  std::string bytes = "\xFF\xFE";
  for (wchar_t c : text) bytes += {char(c & 0xFF), char(c >> 8)};
  return bytes;
}

TEST(MachineState, ARunFindsWhatItsScenarioSaysAndNothingTheLastRunLeft) {
  const wchar_t* hostKey = L"Software\\Adobe\\Photoshop Elements\\8.0";
  const wchar_t* pluginKey = L"Software\\Dovetailworks\\Quillbright";
  const std::wstring settings = AppData() + L"\\Dovetailworks\\Quillbright\\QuillbrightElements8.ini";
  const std::wstring prefs = AppData() + L"\\Adobe\\Photoshop Elements\\8.0\\Editor\\Adobe Photoshop Elements 8 Prefs.psp";
  const std::wstring textFile = L"C:\\users\\Public\\qb-integration-a.txt";
  const std::wstring hexFile = L"C:\\users\\Public\\qb-integration-b.bin";

  Json full = kAboutOnly;
  full["host"] = Json::parse(R"({"german": true, "locale": "de_de", "dictionaryPlace": "Required",
      "dictionary": {"$$$/Menu/Actions": "Aktionen", "$$$/Menu/Scripts": "Skripte"},
      "thumbnailSize": 3, "scripts": ["Image Processor.jsx"]})");
  full["plugin"] = Json::parse(R"({"settings": ["Quillbright1.0", 1, "0"], "installPath": "C:\\Program Files\\Quillbright\\"})");
  full["files"] = Json::parse(R"({"C:\\users\\Public\\qb-integration-a.txt": "Grüße",
                                  "C:\\users\\Public\\qb-integration-b.bin": "hex:00ff10"})");
  EditorRun run = RunEditor(full);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;

  EXPECT_TRUE(Exists(HostFolder() + L"\\Locales\\de_DE"));
  EXPECT_FALSE(Exists(HostFolder() + L"\\Locales\\en_US"));
  EXPECT_EQ(ReadBytes(HostFolder() + L"\\Required\\tw10428.dat"),
            Utf16le(L"\"$$$/Menu/Actions=Aktionen\"\r\n\"$$$/Menu/Scripts=Skripte\"\r\n"));
  EXPECT_TRUE(Exists(HostFolder() + L"\\Presets\\Scripts\\Image Processor.jsx"));
  EXPECT_EQ(RegistryString(hostKey, L"Locale"), L"de_de");
  EXPECT_EQ(RegistryString(pluginKey, L"InstallPath"), L"C:\\Program Files\\Quillbright\\");
  const std::string prefBytes = ReadBytes(prefs);
  ASSERT_EQ(prefBytes.find("fittedloob"), 16u);
  EXPECT_EQ(prefBytes[8], 3) << "the thumbnail size stands eight bytes before the marker";
  EXPECT_EQ(ReadBytes(settings), "Quillbright1.0\r\n1\r\n0\r\n");
  EXPECT_EQ(ReadBytes(textFile), "Gr\xFC\xDF" "e") << "text files are written in the ANSI code page";
  EXPECT_EQ(ReadBytes(hexFile), std::string("\x00\xFF\x10", 3));

  // The next run, of a plain scenario, starts from a clean machine.
  Json plain = kAboutOnly;
  plain["host"] = Json::parse(R"({"thumbnailSize": null, "locale": null})");
  run = RunEditor(plain);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  EXPECT_TRUE(Exists(HostFolder() + L"\\Locales\\en_US"));
  EXPECT_FALSE(Exists(HostFolder() + L"\\Locales\\de_DE"));
  EXPECT_FALSE(Exists(HostFolder() + L"\\Required\\tw10428.dat"));
  EXPECT_FALSE(Exists(HostFolder() + L"\\Presets\\Scripts\\Image Processor.jsx"));
  EXPECT_EQ(RegistryString(hostKey, L"Locale"), L"<absent>");
  EXPECT_EQ(RegistryString(pluginKey, L"InstallPath"), L"<absent>");
  EXPECT_FALSE(Exists(prefs));
  EXPECT_FALSE(Exists(settings));
  EXPECT_FALSE(Exists(textFile));
  EXPECT_FALSE(Exists(hexFile));

  // Defaults: an English host of version 8 whose registry says so, and the
  // preferences file with the thumbnail size 2.
  run = RunEditor(kAboutOnly);
  ASSERT_EQ(run.exitCode, 0) << run.errorText;
  EXPECT_EQ(RegistryString(hostKey, L"Locale"), L"en_us");
  EXPECT_EQ(ReadBytes(prefs)[8], 2);
}

TEST(Transcript, OutWritesTheTranscriptToTheFileAndNothingToTheStandardOutput) {
  const std::wstring outFile = TempFolder() + L"\\transcript.jsonl";
  DeleteFileW(outFile.c_str());
  EditorRun run = RunEditor(kAboutOnly, {L"--out", outFile});
  EXPECT_EQ(run.exitCode, 0) << run.errorText;
  EXPECT_TRUE(run.transcript.empty());
  const std::string text = ReadBytes(outFile);
  EXPECT_NE(text.find("\"kind\":\"message\""), std::string::npos) << text;
  EXPECT_EQ(text.find('\r'), std::string::npos) << "lines end with a bare line feed";
}

}  // namespace
}  // namespace integration
