#include "sim_host_test_support.h"

#include <sstream>

namespace simtest {

void ExpectLines(const std::vector<Json>& got, const std::vector<std::string>& expected) {
  std::vector<std::string> lines;
  for (const auto& j : got) lines.push_back(sim::ToText(j));
  if (lines == expected) return;
  size_t first = 0;
  while (first < lines.size() && first < expected.size() && lines[first] == expected[first]) ++first;
  std::ostringstream out;
  out << "first difference at line " << first << "\n  got:      "
      << (first < lines.size() ? lines[first] : "(none)") << "\n  expected: "
      << (first < expected.size() ? expected[first] : "(none)") << "\nall recorded lines:\n";
  for (size_t i = 0; i < lines.size(); ++i) out << "  " << i << ": " << lines[i] << "\n";
  out << "all expected lines:\n";
  for (size_t i = 0; i < expected.size(); ++i) out << "  " << i << ": " << expected[i] << "\n";
  ADD_FAILURE() << out.str();
}

std::vector<Json> OfKind(const std::vector<Json>& lines, std::initializer_list<const char*> kinds) {
  std::vector<Json> out;
  for (const auto& l : lines)
    for (const char* k : kinds)
      if (l.value("kind", "") == k) out.push_back(l);
  return out;
}

template <class T>
static void Acquire(host::BasicSuite* basic, const char* name, int version, const T** out) {
  const void* table = nullptr;
  ASSERT_EQ(basic->AcquireSuite(name, version, &table), host::kNoError) << name;
  *out = static_cast<const T*>(table);
}

void HostTest::StartHost(const Json& scenario) {
  sim::ResetHost(scenario);
  basic = sim::Basic();
  Acquire(basic, host::kDescriptorSuiteName, 3, &desc);
  Acquire(basic, host::kControlSuiteName, 2, &control);
  Acquire(basic, host::kReferenceSuiteName, 3, &ref);
  Acquire(basic, host::kListSuiteName, 2, &list);
  Acquire(basic, host::kHandleSuiteName, 2, &handles);
  Acquire(basic, host::kZStringSuiteName, 1, &zstr);
  Acquire(basic, host::kPropertySuiteName, 1, &props);
}

host::Reference HostTest::TargetRef(host::TypeID cls, host::TypeID property) {
  host::Reference r = nullptr;
  EXPECT_EQ(ref->Make(&r), 0);
  if (property) {
    EXPECT_EQ(ref->PutProperty(r, C("Prpr"), property), 0);
  }
  EXPECT_EQ(ref->PutEnumerated(r, cls, C("Ordn"), C("Trgt")), 0);
  return r;
}

host::Descriptor HostTest::DescriptorWithTarget(host::Reference r) {
  host::Descriptor d = nullptr;
  EXPECT_EQ(desc->Make(&d), 0);
  EXPECT_EQ(desc->PutReference(d, C("null"), r), 0);
  return d;
}

std::string HostTest::GetTarget(host::TypeID cls, host::TypeID property) {
  host::Reference r = TargetRef(cls, property);
  host::Descriptor answer = nullptr;
  host::OSErr e = control->Get(&answer, r);
  ref->Free(r);
  if (e != 0) {
    EXPECT_EQ(answer, nullptr);
    return "error " + std::to_string(e);
  }
  std::string text = sim::ToText(sim::DescribeDescriptor(answer));
  desc->Free(answer);
  return text;
}

host::OSErr HostTest::PlayOnTarget(host::TypeID event, host::TypeID cls, host::TypeID type, host::TypeID value,
                                   host::TypeID flagKey, bool flag) {
  host::Reference r = nullptr;
  ref->Make(&r);
  ref->PutEnumerated(r, cls, type, value);
  host::Descriptor d = DescriptorWithTarget(r);
  if (flagKey) desc->PutBoolean(d, flagKey, flag);
  host::Descriptor result = nullptr;
  host::OSErr e = control->Play(&result, event, d, 2);
  if (result) desc->Free(result);
  desc->Free(d);
  ref->Free(r);
  return e;
}

Json HostTest::Document(int n) {
  Json state = sim::ModelState();
  if (n < 0) n = state["current"].is_null() ? -1 : state["current"].get<int>();
  return n < 0 ? Json() : state["documents"][size_t(n)];
}

}  // namespace simtest
