// A fixture that runs the plug-in's code in-process against the simulated
// host: a fresh host per test, the module's state put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim_host.h"

struct ExpectedLine {
  const char* json;  // the transcript line, field order free
};

class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A new host from a scenario (JSON text); the transcript starts empty.
  void StartHost(const char* scenario = "{}");
  // Calls the entry point as the host does.
  std::int32_t Call(const char* caller, const char* selector);
  std::int32_t Interface(const char* selector) { return Call("SP Interface", selector); }

  // The lines recorded since the last take, of the given kinds only.
  std::vector<sim::Json> Take(std::initializer_list<const char*> kinds = {});
};

// Compares recorded lines with an expected table; on a difference, names the
// first index that differs and prints both lists.
void ExpectLines(const std::vector<sim::Json>& actual, const std::vector<ExpectedLine>& expected);
