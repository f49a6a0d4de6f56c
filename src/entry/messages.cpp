#include "entry/messages.h"

#include <windows.h>

#include <array>
#include <cstdarg>
#include <cstdio>

#include "entry/module_state.h"
#include "host/event_player.h"

namespace {

// Texts in the Windows ANSI code page 1252.
constexpr std::array<const char*, 13> EnglishMessages = {
    // 0
    "",
    // 1
    "All Layers will be flattened and previous history states will be lost.\n"
    "\n"
    "Continue anyway?",
    // 2
    "Convert to 16-Bit/Channel",
    // 3
    "Delete all Actions?",
    // 4
    "After changing the layer thumbnail size, please restart Photoshop\n"
    "Elements, otherwise double clicking the thumbnail of an adjustment\n"
    "layer or smart object may not work correctly anymore.",
    // 5
    "Welcome to Quillbright!\n"
    "\n"
    "As you are running Quillbright for the first time,\n"
    "the menu items of Quillbright are colorized in blue.\n"
    "To keep them colorized when running Photoshop Elements\n"
    "again, please activate 'Colorize Icons & Menu Items'\n"
    "under Edit > Preferences > Quillbright.\n",
    // 6
    "",
    // 7
    "Please update to the latest version of Quillbright at\n"
    "\n"
    "www.dovetailworks.com/quillbright\n"
    "\n"
    "to use it with this version of Photoshop Elements.",
    // 8
    "Please restart Photoshop Elements in order to deactivate Quillbright.",
    // 9
    "Do you want to restore the properties of the old layer group\n"
    "'%s'?\n"
    "\n"
    "(Warning: Clicking No discards these properties.)",
    // 10
    "Group Layers",
    // 11
    "Restore Group",
    // 12
    "",
};

constexpr std::array<const char*, 13> GermanMessages = {
    // 0
    "",
    // 1
    "Alle Ebenen werden auf eine reduziert und fr\xFC" "here Protokollschritte\n"
    "werden nicht mehr verf\xFC" "gbar sein.\n"
    "\n"
    "Trotzdem weitermachen?",
    // 2
    "Konvertieren zu 16-Bit/Kanal",
    // 3
    "Alle Aktionen l\xF6" "schen?",
    // 4
    "Nachdem Sie die Miniaturgr\xF6" "\xDF" "e ge\xE4" "ndert haben, starten Sie bitte\n"
    "Photoshop Elements neu, anderenfalls funktioniert das Doppelklicken\n"
    "einer Einstellungsebene oder Smartobjekt eventuell nicht mehr richtig.",
    // 5
    "Wilkommen zu to Quillbright!\n"
    "\n"
    "Da Sie Quillbright zum ersten Mal benutzen, werden\n"
    "die Men\xFC" "eintr\xE4" "ge von Quillbright in Blau angezeigt.\n"
    "Um diese eingef\xE4" "rbt zu lassen, wenn Sie Photoshop Elements\n"
    "neu starten, aktivieren Sie 'Icons & Men\xFC" "eintr\xE4" "ge einf\xE4" "rben'\n"
    "unter Bearbeiten > Einstellungen > Quillbright.\n",
    // 6
    "",
    // 7
    "Bitte updaten Sie Quillbright auf die neueste Version unter\n"
    "\n"
    "www.dovetailworks.com/quillbright\n"
    "\n"
    "um es mit dieser Version von Photoshop Elements zu nutzen.",
    // 8
    "Bitte starten Sie Photoshop Elements neu, um Quillbright zu deaktivieren.",
    // 9
    "M\xF6" "chten Sie die Eigenschaften der alten Ebenengruppe\n"
    "'%s' wieder herstellen?\n"
    "\n"
    "(Achtung: Wenn Sie Nein klicken, gehen diese Eigenschaften\n"
    "verloren.)",
    // 10
    "Ebenen gruppieren",
    // 11
    "Gruppe wiederherstellen",
    // 12
    "",
};

constexpr std::array<const char*, 5> EnglishFeatureMessages = {
    // 0
    "Quick Mask Mode",
    // 1
    "This image is in 16-bit/channel mode, which means that most tools\n"
    "do not work with it. To allow using all tools in Quick Mask Mode\n"
    "a new document will be opened.\n"
    "\n"
    "After exiting Quick Edit Mode, the original 16-bit image will be\n"
    "updated with the edited mask.",
    // 2
    "The content of the smart object was opened as a new document.\n"
    "After editing it, choose File > Save to commit the changes.\n"
    "These changes can be seen after returning to the original document.\n"
    "\n"
    "The new document has to be saved at the predefined location with\n"
    "the predefined name, in order to update the smart object.\n",
    // 3
    "This Smart Layer must be simplified before it can be\n"
    "edited. Would you like to proceed?",
    // 4
    "Simplify",
};

constexpr std::array<const char*, 5> GermanFeatureMessages = {
    // 0
    "Maskierungsmodus",
    // 1
    "Dieses Dokument besitzt 16-bit pro Kanal, wodurch die meisten\n"
    "Werkzeuge unbrauchbar sind. Um dennoch alle Werkzeuge im Mask-\n"
    "ierungsmodus zu verwenden, wird ein neues Dokument ge\xF6" "ffnet.\n"
    "\n"
    "Wenn Sie den Maskierungsmodus verlassen, wird das 16-bit\n"
    "Originaldokument mit der editierten Maske versehen.",
    // 2
    "Der Inhalt des Smartobjekts wurde als neues Dokument ge\xF6" "ffnet.\n"
    "W\xE4" "hlen Sie Datei > Speichern, um den ge\xE4" "nderten Inhalt zu speichern.\n"
    "Wenn Sie zum Originaldokument zur\xFC" "ckkehren, sehen sie Ihre\n"
    "\xC4" "nderungen.\n"
    "\n"
    "Das neue Dokument muss am vorgebenen Ort mit vorgegebenem\n"
    "Namen gespeichert werden, damit das Smartobjekt upgedated wird.\n",
    // 3
    "Diese Ebene muss vereinfacht werden, bevor sie bearbeitet werden\n"
    "kann. M\xF6" "chten Sie die Ebene vereinfachen?",
    // 4
    "Ebene Vereinfachen",
};

constexpr const char* kReactivateEnglish = "Do you want to activate Quillbright again?";
constexpr const char* kReactivateGerman = "M\xF6" "chten Sie Quillbright reaktivieren?";
constexpr const char* kOpenImageEnglish = "Please open an image file.";
constexpr const char* kOpenImageGerman = "Bitte \xF6" "ffnen Sie eine Bilddatei.";
constexpr const char* kErrorTitleGerman = "Fehler";

int ShowFormatted(const char* title, const char* format, va_list args) {
  char text[2048];
  std::vsnprintf(text, sizeof text, format, args);
  return MessageBoxA(MainWindow, text, title, MB_TASKMODAL | MB_ICONINFORMATION | MB_OK);
}

}  // namespace

const char* const* MessageTable = EnglishMessages.data();
const char* const* FeatureMessageTable = EnglishFeatureMessages.data();

void UseGermanMessages(bool german) {
  MessageTable = german ? GermanMessages.data() : EnglishMessages.data();
}

void UseGermanFeatureMessages(bool german) {
  FeatureMessageTable = german ? GermanFeatureMessages.data() : EnglishFeatureMessages.data();
}

const char* ReactivatePrompt() { return HostIsGerman ? kReactivateGerman : kReactivateEnglish; }

int ShowMessage(const char* title, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int result = ShowFormatted(title, format, args);
  va_end(args);
  return result;
}

int ShowInfo(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int result = ShowFormatted("Info", format, args);
  va_end(args);
  return result;
}

bool IsDocumentOpen(bool showMessage) {
  std::int32_t count = 0;
  GetTargetProperty(FourCC("capp"), FourCC("NmbD"), &count, nullptr);
  if (count > 0) return true;
  if (showMessage) {
    MessageBoxA(nullptr, HostIsGerman ? kOpenImageGerman : kOpenImageEnglish,
                HostIsGerman ? kErrorTitleGerman : "Error", MB_OK);
  }
  return false;
}
