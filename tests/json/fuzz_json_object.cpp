// Feeds arbitrary bytes to JsonObject, once as a document and once as a value, and checks what
// must hold for any input: nothing crashes or hangs, a loaded document reads back as JSON that
// loads again to the same document, and a value is stored exactly as given.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "json/json_object.h"
#include "text/encoding.h"
#include "text/numbers.h"
#include "text/value.h"

namespace {

constexpr std::size_t kMaxInput = 8192;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

void FuzzDocument(const gedan::Text& text) {
  gedan::JsonObject json;
  if (!json.Parse(text)) {
    Check(json.GetType() == gedan::kJsonNull);
    return;
  }
  gedan::TextArray names;
  const int count = json.GetMemberNames(names);
  Check(count >= 0 && static_cast<std::size_t>(count) == names.size());
  // Paths are code: only the program's own forms of them, never the document's member names.
  for (int k = 0; k < count && k < 4; ++k) {
    const gedan::Text index = "[" + gedan::ToText(k) + "]";
    (void)json.GetText(index);
    (void)json.GetText(index + ".hash");
    (void)json.GetText(index + "['song_name']");
  }
  (void)json.GetText("data['play_url']");

  const gedan::Text written = json.ToJson();
  gedan::JsonObject again;
  Check(again.Parse(written));
  Check(again.ToJson() == written);
}

void FuzzValue(const gedan::Text& value) {
  static gedan::JsonObject json;
  json.SetText("t", value);
  Check(json.GetType("t") == gedan::kJsonString);
  // Bytes that are not GB18030 turn into replacement characters on the way; any other text must
  // come back unchanged.
  if (value.find('\0') == gedan::Text::npos &&
      gedan::Utf8ToAnsi(gedan::AnsiToUtf8(value)) == value) {
    Check(json.GetText("t") == value);
  }
  json.Clear();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  const gedan::Text text(reinterpret_cast<const char*>(data), size);
  FuzzDocument(text);
  FuzzValue(text);
  return 0;
}
