// Running JavaScript through the host's scripting engine.
#pragma once

// Runs a text in the host's code page. True when the engine ran it without
// error; false when there is no engine or the script failed, whose message
// is shown when `showErrors` is set.
bool RunJavaScript(const char* text, bool showErrors);
