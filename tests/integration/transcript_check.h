// Comparing a transcript with an expected table: one helper for every test,
// reporting the first difference and then both lists.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "editor_run.h"

namespace integration {

// One expected transcript line: its kind and the fields that must match, as
// JSON object text. Fields the row leaves out are not compared.
struct ExpectedLine {
  const char* kind;
  const char* fields;
};

// Compares the lines of the given kinds (all lines when `kinds` is empty)
// with the table, row by row.
void ExpectTranscript(const std::vector<Json>& transcript, const std::set<std::string>& kinds,
                      const std::vector<ExpectedLine>& expected);

// The `misuse`, `leak` and `error` rows of a table, as the lines a run may
// leave (RunEditor's `expected`).
ExpectedProblems ProblemsIn(const std::vector<ExpectedLine>& table);

// A control of a `dialog` capture line, by its identifier; a test failure
// when the capture has none such.
const Json& ControlIn(const Json& dialog, int id);

// The transcript cut at each `dialog` capture: the lines before the first,
// between each two, and after the last.
std::vector<std::vector<Json>> SegmentsAtCaptures(const std::vector<Json>& transcript);

}  // namespace integration
