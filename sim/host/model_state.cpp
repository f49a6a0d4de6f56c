// The model as a `state` line, and the edits a user makes by hand.
#include <algorithm>

#include "events.h"
#include "model.h"

namespace sim {

Json ModelState() {
  const Model& m = State().model;
  return Json{{"documents", m.documents},
              {"current", m.current >= 0 ? Json(m.current) : Json()},
              {"actionSets", m.actionSets},
              {"preferences", m.preferences}};
}

void RecordState() {
  Json line = {{"kind", "state"}};
  Json state = ModelState();
  line["documents"] = state["documents"];
  line["current"] = state["current"];
  line["actionSets"] = state["actionSets"];
  line["preferences"] = state["preferences"];
  // With the calls recorded, the host objects alive now, so that what one
  // stretch of a run left behind shows without waiting for the leak report.
  if (State().recordCalls) line["objects"] = LiveObjects();
  Record(std::move(line));
}

namespace {

int LayerPosition(const Json& doc, const Json& which) {
  const Json& layers = doc["layers"];
  if (which.is_number_integer()) {
    int p = which.get<int>();
    return p >= 0 && p < int(layers.size()) ? p : -1;
  }
  if (which.is_string())
    for (int i = int(layers.size()) - 1; i >= 0; --i)
      if (layers[size_t(i)].value("name", std::string()) == which.get<std::string>()) return i;
  return -1;
}

void EditError(const std::string& text) { Record(Json{{"kind", "error"}, {"text", "edit: " + text}}); }

}  // namespace

// Edits, one key each (several may be combined and apply in this order):
//   {"selectDocument": n}            the document at position n becomes current
//   {"selectLayer": p | "name", "add": bool}   target a layer (add: extend the target)
//   {"selectLayers": [p, ...]}       target these layers, the last one active
//   {"selection": bool}              make or drop the selection
//   {"closeDocument": true | n}      close the current document (or the one at n)
//   {"openDocument": DOCUMENT}       open a document, which becomes current
//   {"closeAllDocuments": true}      close every document (none open is fine)
//   {"actionSets": [SET, ...]}       the host's action sets become these, as
//                                    after loading and deleting sets by hand
void ApplyEdit(const Json& edit) {
  Model& m = State().model;
  if (!edit.is_object()) return EditError("not an object");
  if (edit.contains("selectDocument")) {
    const Json& n = edit["selectDocument"];
    if (!n.is_number_integer() || n.get<int>() < 0 || n.get<int>() >= int(m.documents.size()))
      return EditError("no such document");
    m.current = n.get<int>();
  }
  Json* doc = CurrentDocument(m);
  if (edit.contains("selectLayer") || edit.contains("selectLayers") || edit.contains("selection")) {
    if (!doc) return EditError("no document open");
  }
  if (edit.contains("selectLayer")) {
    int p = LayerPosition(*doc, edit["selectLayer"]);
    if (p < 0) return EditError("no such layer");
    Json& target = (*doc)["target"];
    if (edit.value("add", false)) {
      auto it = std::find(target.begin(), target.end(), Json(p));
      if (it != target.end()) target.erase(it);
      target.push_back(p);
    } else {
      target = Json::array({p});
    }
    ResetTargetChannels(*doc);
  }
  if (edit.contains("selectLayers")) {
    Json target = Json::array();
    for (const auto& which : edit["selectLayers"]) {
      int p = LayerPosition(*doc, which);
      if (p < 0) return EditError("no such layer");
      target.push_back(p);
    }
    (*doc)["target"] = target;
    ResetTargetChannels(*doc);
  }
  if (edit.contains("selection")) {
    (*doc)["selection"] = edit["selection"].is_boolean() && edit["selection"].get<bool>();
    doc->erase("selectionArea");   // a selection made by hand follows nothing loaded before
  }
  if (edit.contains("closeDocument")) {
    const Json& which = edit["closeDocument"];
    int n = which.is_number_integer() ? which.get<int>() : m.current;
    if (n < 0 || n >= int(m.documents.size())) return EditError("no document to close");
    m.documents.erase(size_t(n));
    // The last document open becomes current, as after closing a tab.
    m.current = int(m.documents.size()) - 1;
  }
  if (edit.value("closeAllDocuments", false) == true) {
    m.documents = Json::array();
    m.current = -1;
  }
  if (edit.contains("openDocument")) {
    m.documents.push_back(NormalizeDocument(m, edit["openDocument"], m.documents.size() + 1));
    m.current = int(m.documents.size()) - 1;
  }
  NoteQuickMasks(m);
  if (edit.contains("actionSets")) {
    if (!edit["actionSets"].is_array()) return EditError("actionSets: not a list");
    m.actionSets = Json::array();
    for (const auto& set : edit["actionSets"]) {
      Json actions = Json::array();
      if (set.is_object() && set.contains("actions") && set["actions"].is_array())
        for (const auto& a : set["actions"])
          if (a.is_string()) actions.push_back(a);
      m.actionSets.push_back(Json{{"name", set.is_object() ? set.value("name", "") : ""}, {"actions", actions}});
    }
  }
}

}  // namespace sim
