#include "gif/extension_registry.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace zephlet {

void TExtensionList::Add(uint8_t label, const TGIFExtensionClass& cls) {
  pairs_.emplace_back(label, &cls);
}

const TGIFExtensionClass* TExtensionList::Find(uint8_t label) const {
  for (auto pair = pairs_.rbegin(); pair != pairs_.rend(); ++pair) {
    if (pair->first == label) return pair->second;
  }
  return nullptr;
}

void TAppExtensionList::Add(const TGIFApplicationExtension::Signature& signature,
                            const TGIFExtensionClass& cls) {
  pairs_.emplace_back(signature, &cls);
}

const TGIFExtensionClass* TAppExtensionList::Find(
    const TGIFApplicationExtension::Signature& signature) const {
  for (auto pair = pairs_.rbegin(); pair != pairs_.rend(); ++pair) {
    if (pair->first == signature) return pair->second;
  }
  return nullptr;
}

namespace {

TGIFApplicationExtension::Signature ToSignature(std::string_view text) {
  if (text.size() != 11) throw std::invalid_argument("An application signature has 11 bytes");
  TGIFApplicationExtension::Signature signature{};
  std::memcpy(signature.data(), text.data(), signature.size());
  return signature;
}

}  // namespace

TExtensionList& ExtensionRegistry() {
  static TExtensionList registry = [] {
    TExtensionList initial;
    initial.Add(0x01, TGIFTextExtension::StaticClass());
    initial.Add(0xF9, TGIFGraphicControlExtension::StaticClass());
    initial.Add(0xFE, TGIFCommentExtension::StaticClass());
    initial.Add(0xFF, TGIFApplicationExtension::StaticClass());
    return initial;
  }();
  return registry;
}

TAppExtensionList& AppExtensionRegistry() {
  static TAppExtensionList registry = [] {
    TAppExtensionList initial;
    initial.Add(ToSignature("NETSCAPE2.0"), TGIFAppExtNSLoop::StaticClass());
    initial.Add(ToSignature("ANIMEXTS1.0"), TGIFAppExtNSLoop::StaticClass());
    return initial;
  }();
  return registry;
}

void RegisterExtension(uint8_t label, const TGIFExtensionClass& cls) {
  ExtensionRegistry().Add(label, cls);
}

void RegisterAppExtension(std::string_view signature, const TGIFExtensionClass& cls) {
  AppExtensionRegistry().Add(ToSignature(signature), cls);
}

const TGIFExtensionClass* FindExtensionClass(Stream& stream) {
  const int64_t start = stream.Position();
  const TGIFExtensionClass* cls = nullptr;
  uint8_t label = 0;
  if (ReadByte(stream, label)) cls = ExtensionRegistry().Find(label);
  // Each round may read on and pick a more specific class; every round that changes the
  // class consumes bytes, so the search ends with the data.
  while (cls != nullptr) {
    const TGIFExtensionClass* answer = cls->ResolveClass(*cls, stream);
    if (answer == cls) break;
    cls = answer;
  }
  stream.SetPosition(start);
  // An application block that no class reads (block size above 11) is kept as raw blocks.
  if (cls == &TGIFApplicationExtension::StaticClass()) {
    cls = &TGIFUnknownAppExtension::StaticClass();
  }
  return cls;
}

}  // namespace zephlet
