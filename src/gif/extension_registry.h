// The two registries that map a label and an application signature to an extension class.
// A later registration of the same label or signature wins.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "gif/extensions.h"
#include "gif/stream.h"

namespace zephlet {

class TExtensionList {
 public:
  void Add(uint8_t label, const TGIFExtensionClass& cls);
  // Searched from the last pair back; null when the label is not registered.
  const TGIFExtensionClass* Find(uint8_t label) const;

 private:
  std::vector<std::pair<uint8_t, const TGIFExtensionClass*>> pairs_;
};

class TAppExtensionList {
 public:
  void Add(const TGIFApplicationExtension::Signature& signature, const TGIFExtensionClass& cls);
  // All 11 bytes compared, searched from the last pair back; null when none matches.
  const TGIFExtensionClass* Find(const TGIFApplicationExtension::Signature& signature) const;

 private:
  std::vector<std::pair<TGIFApplicationExtension::Signature, const TGIFExtensionClass*>> pairs_;
};

// The unit's registries, created with their initial pairs on first use.
TExtensionList& ExtensionRegistry();
TAppExtensionList& AppExtensionRegistry();
void RegisterExtension(uint8_t label, const TGIFExtensionClass& cls);
// `signature` must be 11 bytes.
void RegisterAppExtension(std::string_view signature, const TGIFExtensionClass& cls);

// The class for the bytes after an introducer, or null; the stream is left where it was.
// An application block whose choice ends at the abstract TGIFApplicationExtension (block
// sizes other than 10 and 11) is kept as a TGIFUnknownAppExtension.
const TGIFExtensionClass* FindExtensionClass(Stream& stream);

}  // namespace zephlet
