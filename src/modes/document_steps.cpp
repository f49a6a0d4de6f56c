#include "modes/document_steps.h"

#include <cstring>

#include "host/event_player.h"
#include "host/host_objects.h"

namespace {

constexpr TypeID kNull = FourCC("null");
constexpr TypeID kTo = FourCC("T   ");
constexpr TypeID kName = FourCC("Nm  ");
constexpr TypeID kDocument = FourCC("Dcmn");
constexpr TypeID kChannel = FourCC("Chnl");
constexpr TypeID kLayer = FourCC("Lyr ");
constexpr TypeID kOrdinal = FourCC("Ordn");
constexpr TypeID kTarget = FourCC("Trgt");
constexpr TypeID kPixels = FourCC("#Pxl");
constexpr TypeID kPercent = FourCC("#Prc");

const host::DescriptorSuite* D() { return DescriptorProcs(); }
const host::ReferenceSuite* R() { return ReferenceProcs(); }

// Builds a descriptor with `fill` and plays it; a build error is returned
// without playing.
template <typename Fill>
std::int32_t PlayBuilt(TypeID event, std::int32_t mode, Fill fill) {
  DescriptorHolder descriptor;
  std::int32_t err = MakeDescriptor(descriptor);
  if (err == 0) err = fill(descriptor.get());
  if (err != 0) return err;
  return PlayDescriptor(event, descriptor.get(), mode);
}

// `key` = a new reference filled by `fill`.
template <typename Fill>
std::int32_t PutReferenceTo(host::Descriptor d, TypeID key, Fill fill) {
  ReferenceHolder reference;
  std::int32_t err = MakeReference(reference);
  if (err == 0) err = fill(reference.get());
  if (err == 0) err = HostResult(D()->PutReference(d, key, reference.get()));
  return err;
}

// `key` = an object of class `cls` filled by `fill`.
template <typename Fill>
std::int32_t PutObjectTo(host::Descriptor d, TypeID key, TypeID cls, Fill fill) {
  DescriptorHolder object;
  std::int32_t err = MakeDescriptor(object);
  if (err == 0) err = fill(object.get());
  if (err == 0) err = HostResult(D()->PutObject(d, key, cls, object.get()));
  return err;
}

// `key` = an alias of the path: its text, with the terminator, in a handle
// that lives as long as the play.
std::int32_t PutPath(host::Descriptor d, TypeID key, const char* path, HandleHolder& alias) {
  if (!path) return host::kBadParameterError;
  std::int32_t err = MakeTextHandle(path, alias.out());
  if (err == 0) err = HostResult(D()->PutAlias(d, key, alias.get()));
  return err;
}

std::int32_t PutTargetLayer(host::Reference r) { return HostResult(R()->PutEnumerated(r, kLayer, kOrdinal, kTarget)); }

std::int32_t PutWhite(host::Descriptor rgb) {
  std::int32_t err = HostResult(D()->PutFloat(rgb, FourCC("Rd  "), 255.0));
  if (err == 0) err = HostResult(D()->PutFloat(rgb, FourCC("Grn "), 255.0));
  if (err == 0) err = HostResult(D()->PutFloat(rgb, FourCC("Bl  "), 255.0));
  return err;
}

// The title of the open document at `index` (1-based); false unread.
bool ReadTitleAt(std::uint32_t index, char* buffer, std::uint32_t size) {
  buffer[0] = '\0';
  std::uint32_t extra = size;
  return GetIndexedProperty(index, kDocument, FourCC("Ttl "), buffer, &extra) == 0;
}

}  // namespace

std::int32_t DuplicateDocument(const char* name) {
  return PlayBuilt(FourCC("Dplc"), name ? kDialogNone : kDialogShow, [name](host::Descriptor d) {
    std::int32_t err = PutReferenceTo(d, kNull, [](host::Reference r) {
      return HostResult(R()->PutEnumerated(r, kDocument, kOrdinal, FourCC("Frst")));
    });
    if (err == 0 && name) err = HostResult(D()->PutString(d, kName, name));
    return err;
  });
}

std::int32_t DuplicateChannelToDocument(const char* channel, const char* document) {
  if (!channel || !document) return host::kBadParameterError;
  return PlayBuilt(FourCC("Dplc"), kDialogNone, [&](host::Descriptor d) {
    std::int32_t err = PutReferenceTo(d, kNull, [&](host::Reference r) { return HostResult(R()->PutName(r, kChannel, channel)); });
    if (err == 0)
      err = PutReferenceTo(d, kTo, [&](host::Reference r) { return HostResult(R()->PutName(r, kDocument, document)); });
    if (err == 0) err = HostResult(D()->PutInteger(d, FourCC("Vrsn"), 2));
    return err;
  });
}

std::int32_t SelectDocumentByOffset(std::int32_t offset) {
  return PlayBuilt(FourCC("slct"), kDialogNone, [offset](host::Descriptor d) {
    return PutReferenceTo(d, kNull, [offset](host::Reference r) { return HostResult(R()->PutOffset(r, kDocument, offset)); });
  });
}

int ActivateDocumentByTitle(const char* title) {
  if (!title || !*title) return 0;
  std::int32_t count = 0;
  if (GetTargetProperty(FourCC("capp"), FourCC("NmbD"), &count, nullptr) != 0 || count < 1) return 0;
  char name[512] = {};
  std::int32_t found = 0;
  for (std::int32_t i = 1; i <= count && !found; ++i)
    if (ReadTitleAt(std::uint32_t(i), name, sizeof name) && std::strcmp(name, title) == 0) found = i;
  if (!found) return 0;
  const std::int32_t current = GetDocumentInteger(FourCC("ItmI"));
  if (current < 1) return 0;
  // The host counts offsets from the current document in the order of the
  // open documents, as the Quick Mask steps do: from c, i is i - c away.
  if (found != current && SelectDocumentByOffset(found - current) != 0) return 0;
  return 1;
}

std::int32_t ConvertToEightBits() {
  return PlayBuilt(FourCC("CnvM"), kDialogNone, [](host::Descriptor d) {
    std::int32_t err = HostResult(D()->PutInteger(d, FourCC("Dpth"), 8));
    if (err == 0) err = HostResult(D()->PutBoolean(d, FourCC("Mrge"), 0));
    return err;
  });
}

std::int32_t ClearHistory() {
  return PlayBuilt(FourCC("Cler"), kDialogNone, [](host::Descriptor d) {
    return PutReferenceTo(d, kNull, [](host::Reference r) {
      std::int32_t err = HostResult(R()->PutProperty(r, FourCC("Prpr"), FourCC("HsSt")));
      if (err == 0) err = HostResult(R()->PutEnumerated(r, kDocument, kOrdinal, kTarget));
      return err;
    });
  });
}

std::int32_t PurgeClipboard() {
  return PlayBuilt(FourCC("Prge"), kDialogNone, [](host::Descriptor d) {
    return HostResult(D()->PutEnumerated(d, kNull, FourCC("PrgI"), FourCC("Clpb")));
  });
}

std::int32_t CopySelection() { return PlayDescriptor(FourCC("copy"), nullptr, kDialogNone); }

std::int32_t PasteInto() {
  return PlayBuilt(FourCC("PstI"), kDialogNone, [](host::Descriptor d) {
    return HostResult(D()->PutEnumerated(d, FourCC("AntA"), FourCC("Annt"), FourCC("Anno")));
  });
}

std::int32_t CanvasSizeWhite(double width, double height) {
  const TypeID colorType = StringToTypeID("canvasExtensionColorType");
  const TypeID color = StringToTypeID("canvasExtensionColor");
  if (colorType == 0 || color == 0) return host::kBadParameterError;
  return PlayBuilt(FourCC("CnvS"), kDialogNone, [&](host::Descriptor d) {
    std::int32_t err = HostResult(D()->PutUnitFloat(d, FourCC("Wdth"), kPixels, width));
    if (err == 0) err = HostResult(D()->PutUnitFloat(d, FourCC("Hght"), kPixels, height));
    if (err == 0) err = HostResult(D()->PutEnumerated(d, FourCC("Hrzn"), FourCC("HrzL"), FourCC("Cntr")));
    if (err == 0) err = HostResult(D()->PutEnumerated(d, FourCC("Vrtc"), FourCC("VrtL"), FourCC("Cntr")));
    if (err == 0) err = HostResult(D()->PutEnumerated(d, colorType, colorType, FourCC("Clr ")));
    if (err == 0) err = PutObjectTo(d, color, FourCC("RGBC"), PutWhite);
    return err;
  });
}

std::int32_t SaveDocumentAsTiff(const char* path) {
  HandleHolder alias;
  return PlayBuilt(FourCC("save"), kDialogNone, [&](host::Descriptor d) {
    std::int32_t err = PutObjectTo(d, FourCC("As  "), FourCC("TIFF"), [](host::Descriptor tiff) {
      return HostResult(D()->PutEnumerated(tiff, FourCC("BytO"), FourCC("Pltf"), FourCC("IBMP")));
    });
    if (err == 0) err = PutPath(d, FourCC("In  "), path, alias);
    return err;
  });
}

std::int32_t OpenAsSixteenBitTiff(const char* path) {
  const TypeID rawConverter = StringToTypeID("Adobe Camera Raw");
  if (rawConverter == 0) return host::kBadParameterError;
  HandleHolder alias;
  return PlayBuilt(FourCC("Opn "), kDialogNone, [&](host::Descriptor d) {
    std::int32_t err = PutPath(d, kNull, path, alias);
    if (err == 0)
      err = PutObjectTo(d, FourCC("As  "), rawConverter, [](host::Descriptor raw) {
        std::int32_t e = HostResult(D()->PutString(raw, FourCC("CMod"), "TIFF"));
        if (e == 0) e = HostResult(D()->PutEnumerated(raw, FourCC("Sett"), FourCC("Sett"), FourCC("Img ")));
        if (e == 0) e = HostResult(D()->PutEnumerated(raw, FourCC("BtDp"), FourCC("BtDp"), FourCC("BD16")));
        return e;
      });
    return err;
  });
}

std::int32_t OpenFile(const char* path, std::int32_t mode) {
  HandleHolder alias;
  return PlayBuilt(FourCC("Opn "), mode, [&](host::Descriptor d) { return path ? PutPath(d, kNull, path, alias) : 0; });
}

std::int32_t CloseDocument(bool save) {
  return PlayBuilt(FourCC("Cls "), kDialogNone, [save](host::Descriptor d) {
    return HostResult(D()->PutEnumerated(d, FourCC("Svng"), FourCC("YsN "), save ? FourCC("Ys  ") : FourCC("N   ")));
  });
}

std::int32_t MakeLayer(const char* name) {
  return PlayBuilt(FourCC("Mk  "), kDialogNone, [name](host::Descriptor d) {
    std::int32_t err = PutReferenceTo(d, kNull, [](host::Reference r) { return HostResult(R()->PutClass(r, kLayer)); });
    if (err == 0 && name)
      err = PutObjectTo(d, FourCC("Usng"), kLayer,
                        [name](host::Descriptor layer) { return HostResult(D()->PutString(layer, kName, name)); });
    return err;
  });
}

std::int32_t SetLayerOpacity(double percent) {
  return PlayBuilt(FourCC("setd"), kDialogNone, [percent](host::Descriptor d) {
    std::int32_t err = PutReferenceTo(d, kNull, PutTargetLayer);
    if (err == 0)
      err = PutObjectTo(d, kTo, kLayer, [percent](host::Descriptor layer) {
        return HostResult(D()->PutUnitFloat(layer, FourCC("Opct"), kPercent, percent));
      });
    return err;
  });
}

std::int32_t FreeTransformTarget() {
  return PlayBuilt(FourCC("Trnf"), kDialogShow, [](host::Descriptor d) {
    std::int32_t err = PutReferenceTo(d, kNull, PutTargetLayer);
    if (err == 0) err = HostResult(D()->PutEnumerated(d, FourCC("FTcs"), FourCC("QCSt"), FourCC("Qcsa")));
    if (err == 0)
      err = PutObjectTo(d, FourCC("Ofst"), FourCC("Ofst"), [](host::Descriptor offset) {
        std::int32_t e = HostResult(D()->PutUnitFloat(offset, FourCC("Hrzn"), kPixels, 0.0));
        if (e == 0) e = HostResult(D()->PutUnitFloat(offset, FourCC("Vrtc"), kPixels, 0.0));
        return e;
      });
    if (err == 0) err = HostResult(D()->PutUnitFloat(d, FourCC("Wdth"), kPercent, 100.0));
    if (err == 0) err = HostResult(D()->PutUnitFloat(d, FourCC("Hght"), kPercent, 100.0));
    if (err == 0) err = HostResult(D()->PutBoolean(d, FourCC("Lnkd"), 1));
    return err;
  });
}

bool ReadDocumentTitle(char* buffer, std::uint32_t size) {
  if (!buffer || size == 0) return false;
  buffer[0] = '\0';
  std::uint32_t extra = size;
  if (GetTargetProperty(kDocument, FourCC("Ttl "), buffer, &extra) == 0 && buffer[0]) return true;
  buffer[0] = '\0';
  return false;
}

bool ReadDocumentFilePath(char* buffer, std::uint32_t size) {
  if (!buffer || size == 0) return false;
  buffer[0] = '\0';
  HandleHolder alias;
  if (GetTargetProperty(kDocument, FourCC("FilR"), alias.out(), nullptr) != 0 || !alias) return false;
  CopyHandleText(alias.get(), buffer, size);
  return buffer[0] != '\0';
}
