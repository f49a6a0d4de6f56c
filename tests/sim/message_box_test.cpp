// Message boxes are found by the CBT hook, recorded and answered through
// their own buttons.
#include "sim_host_test_support.h"

namespace simtest {
namespace {

class MessageBoxes : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::ResetHost(Json{{"answers", {{"messages", {"No", "Cancel"}}}}});
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"simhost-test-owner";
    RegisterClassW(&wc);
    main_ = CreateWindowW(L"simhost-test-owner", L"main", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                          wc.hInstance, nullptr);
    other_ = CreateWindowW(L"simhost-test-owner", L"other", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                           wc.hInstance, nullptr);
    sim::SetMainWindow(main_);
    sim::InstallMessageBoxAnswerer();
  }
  void TearDown() override {
    sim::RemoveMessageBoxAnswerer();
    sim::SetMainWindow(nullptr);
    DestroyWindow(main_);
    DestroyWindow(other_);
    sim::TakeTranscript();
  }
  HWND main_ = nullptr;
  HWND other_ = nullptr;
};

TEST_F(MessageBoxes, AreRecordedAndAnsweredInOrderThenWithTheFirstButton) {
  // A Yes/No question owned by the main window: the first answer, "No".
  EXPECT_EQ(MessageBoxA(main_, "Delete all Actions?", "Quillbright", MB_YESNO | MB_ICONQUESTION), IDNO);
  // Owned by another window: the second answer, "Cancel".
  EXPECT_EQ(MessageBoxA(other_, "Continue anyway?", "Convert", MB_OKCANCEL | MB_ICONWARNING), IDCANCEL);
  // No owner, task-modal: answers are used up, so the first button.
  EXPECT_EQ(MessageBoxA(nullptr, "Please open an image file.", "Error", MB_TASKMODAL | MB_ICONINFORMATION | MB_OK),
            IDOK);
  EXPECT_EQ(MessageBoxA(main_, "Restore?", "Group Layers", MB_YESNOCANCEL | MB_ICONERROR), IDYES);
  ExpectLines(sim::TakeTranscript(),
              {
                  R"({"kind":"message","title":"Quillbright","text":"Delete all Actions?","buttons":"YESNO","icon":"question","owner":"main","answer":"No"})",
                  R"({"kind":"message","title":"Convert","text":"Continue anyway?","buttons":"OKCANCEL","icon":"warning","owner":"active","answer":"Cancel"})",
                  R"({"kind":"message","title":"Error","text":"Please open an image file.","buttons":"OK","icon":"information","owner":"none","answer":"OK"})",
                  R"({"kind":"message","title":"Group Layers","text":"Restore?","buttons":"YESNOCANCEL","icon":"error","owner":"main","answer":"Yes"})",
              });
}

}  // namespace
}  // namespace simtest
