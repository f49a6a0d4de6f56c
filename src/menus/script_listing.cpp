#include "menus/script_listing.h"

bool IsListedScriptName(std::string_view name) {
  if (name == "." || name == "..") return false;
  return name.find(".js") != std::string_view::npos;
}

std::string ScriptLabel(std::string_view fileName) {
  const std::size_t dot = fileName.rfind('.');
  return std::string(dot == std::string_view::npos ? fileName : fileName.substr(0, dot));
}

std::string ScriptLabelOfPath(std::string_view path) {
  const std::size_t slash = path.rfind('\\');
  return ScriptLabel(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool ScriptItemHidden(std::string_view label, int hostVersion) {
  // That editor's own Image Processor script fails when run from here.
  return hostVersion == 8 && label == "Image Processor";
}

std::string FolderOfPath(std::string_view path) {
  const std::size_t slash = path.rfind('\\');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

bool StartsActionGroup(const std::vector<std::string>& setNames, std::size_t k) {
  return k >= 1 && k < setNames.size() && setNames[k] != setNames[k - 1];
}

std::vector<std::string> ActionSetsToDelete(const std::vector<std::string>& setNames) {
  std::vector<std::string> sets;
  for (std::size_t k = 0; k < setNames.size(); ++k)
    if (k == 0 || StartsActionGroup(setNames, k)) sets.push_back(setNames[k]);
  return sets;
}
