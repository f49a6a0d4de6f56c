#include "transcript_check.h"

#include <gtest/gtest.h>

#include <sstream>

namespace integration {
namespace {

Json ExpectedJson(const ExpectedLine& row) {
  Json fields = Json::parse(row.fields);
  Json line{{"kind", row.kind}};
  for (auto& [key, value] : fields.items()) line[key] = value;
  return line;
}

// The first field of `expected` that `actual` lacks or holds differently.
std::string Mismatch(const Json& actual, const Json& expected) {
  for (auto& [key, value] : expected.items()) {
    auto it = actual.find(key);
    if (it == actual.end()) return "\"" + key + "\" is missing";
    if (*it != value) return "\"" + key + "\" is " + it->dump() + ", expected " + value.dump();
  }
  return {};
}

}  // namespace

void ExpectTranscript(const std::vector<Json>& transcript, const std::set<std::string>& kinds,
                      const std::vector<ExpectedLine>& expected) {
  std::vector<Json> actual;
  for (const Json& line : transcript)
    if (kinds.empty() || kinds.count(line.value("kind", ""))) actual.push_back(line);
  std::vector<Json> wanted;
  for (const ExpectedLine& row : expected) wanted.push_back(ExpectedJson(row));

  std::string difference;
  size_t at = 0;
  for (; at < std::max(actual.size(), wanted.size()); ++at) {
    if (at >= actual.size()) { difference = "the transcript ends before this line"; break; }
    if (at >= wanted.size()) { difference = "the transcript has this line beyond the table"; break; }
    difference = Mismatch(actual[at], wanted[at]);
    if (!difference.empty()) break;
  }
  if (difference.empty()) return;

  std::ostringstream report;
  report << "first difference at line " << at << ": " << difference << "\n";
  if (at < actual.size()) report << "  got:      " << actual[at].dump() << "\n";
  if (at < wanted.size()) report << "  expected: " << wanted[at].dump() << "\n";
  report << "transcript (" << actual.size() << " lines):\n";
  for (size_t i = 0; i < actual.size(); ++i) report << "  " << i << ": " << actual[i].dump() << "\n";
  report << "table (" << wanted.size() << " lines):\n";
  for (size_t i = 0; i < wanted.size(); ++i) report << "  " << i << ": " << wanted[i].dump() << "\n";
  ADD_FAILURE() << report.str();
}

ExpectedProblems ProblemsIn(const std::vector<ExpectedLine>& table) {
  ExpectedProblems problems;
  for (const ExpectedLine& row : table) {
    const std::string kind = row.kind;
    if (kind != "misuse" && kind != "leak" && kind != "error") continue;
    Json pattern = Json::parse(row.fields);
    pattern["kind"] = kind;
    problems.push_back(pattern.dump());
  }
  return problems;
}

const Json& ControlIn(const Json& dialog, int id) {
  for (const Json& control : dialog["controls"])
    if (control["id"] == id) return control;
  ADD_FAILURE() << "no control " << id;
  static const Json none = Json::object();
  return none;
}

std::vector<std::vector<Json>> SegmentsAtCaptures(const std::vector<Json>& transcript) {
  std::vector<std::vector<Json>> out(1);
  for (const Json& line : transcript) {
    if (line["kind"] == "dialog") out.emplace_back();
    else out.back().push_back(line);
  }
  return out;
}

}  // namespace integration
