// Shared fixture and the one compare helper of the simulated host's tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim_host.h"
#include "action_suites.h"
#include "host_suites.h"

namespace simtest {

using sim::Json;

// Compares recorded lines with the expected text lines, whole lines as text.
// On a difference it names the first differing index with its neighbours,
// then prints both lists.
void ExpectLines(const std::vector<Json>& got, const std::vector<std::string>& expected);

// Lines of the given kinds only, in order.
std::vector<Json> OfKind(const std::vector<Json>& lines, std::initializer_list<const char*> kinds);

constexpr host::TypeID C(const char (&code)[5]) { return host::FourCC(code); }

// A fresh host from a scenario with every suite acquired.
class HostTest : public ::testing::Test {
 protected:
  void StartHost(const Json& scenario = Json::object());
  void SetUp() override { StartHost(); }
  void TearDown() override { sim::TakeTranscript(); }

  // Builders for the common references, freed by the caller.
  host::Reference TargetRef(host::TypeID cls, host::TypeID property = 0);
  host::Descriptor DescriptorWithTarget(host::Reference ref);
  // Gets one property of the target object of a class; the answer's DESC as
  // text, or the error code as "error N".
  std::string GetTarget(host::TypeID cls, host::TypeID property);
  host::OSErr PlayOnTarget(host::TypeID event, host::TypeID cls, host::TypeID type, host::TypeID value,
                           host::TypeID flagKey = 0, bool flag = false);
  Json Document(int n = -1);   // the model's document (current by default)

  host::BasicSuite* basic = nullptr;
  const host::DescriptorSuite* desc = nullptr;
  const host::ControlSuite* control = nullptr;
  const host::ReferenceSuite* ref = nullptr;
  const host::ListSuite* list = nullptr;
  const host::HandleSuite* handles = nullptr;
  const host::ZStringSuite* zstr = nullptr;
  const host::PropertySuite* props = nullptr;
};

}  // namespace simtest
