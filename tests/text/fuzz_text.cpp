// Feeds arbitrary bytes to the scanning operations and the conversions and checks what they give
// back against the input: found texts stand where reported, split pieces join up to the input,
// converted texts convert back to themselves.
//
// Input: two texts separated by the first zero byte (the text, then the sought text or separator).

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/encoding.h"
#include "text/markers.h"
#include "text/numbers.h"
#include "text/primitives.h"

namespace {

using gedan::Text;

constexpr std::size_t kMaxInput = 4096;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

void CheckFind(const Text& text, const Text& sought, int start, gedan::Case letterCase) {
  const int p = gedan::FindText(text, sought, start, letterCase);
  if (p == gedan::kNotFound) return;
  // The empty text is found at 1 wherever the search starts, as long as a byte is left there.
  if (sought.empty()) return Check(p == 1);
  Check(p >= 1 && p >= start);
  Check(static_cast<std::size_t>(p - 1) + sought.size() <= text.size());
  if (letterCase == gedan::Case::kSensitive)
    Check(text.compare(static_cast<std::size_t>(p - 1), sought.size(), sought) == 0);
}

void CheckSplit(const Text& text, const Text& separator) {
  const gedan::TextArray pieces = gedan::SplitText(text, separator);
  if (text.empty()) return Check(pieces.empty());
  if (separator.empty()) return Check(pieces.size() == 1 && pieces[0] == text);
  Text joined;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) joined += separator;
    joined += pieces[i];
  }
  Check(joined == text || joined + separator == text);
}

void CheckConversions(const Text& text) {
  // One conversion turns broken bytes into U+FFFD; from then on the text is stable.
  const std::u16string wide = gedan::AnsiToUtf16(text);
  const Text normal = gedan::Utf16ToAnsi(wide);
  Check(gedan::AnsiToUtf16(normal) == wide || wide.find(u'\0') != std::u16string::npos);
  Check(gedan::Utf8ToAnsi(gedan::AnsiToUtf8(normal)) == normal);
  const gedan::Bytes unicode = gedan::AnsiToUnicode(normal);
  Check(gedan::UnicodeToAnsi(unicode) == normal);
  Check(gedan::Utf8ToAnsi(text).find('\0') == Text::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t zero = input.find('\0');
  const Text text(input.substr(0, zero));
  Text other;
  if (zero != std::string_view::npos) {
    other = Text(input.substr(zero + 1));
    if (other.find('\0') != Text::npos) other.resize(other.find('\0'));
  }

  for (int start : {-1, 1, 2, 3, static_cast<int>(text.size())}) {
    CheckFind(text, other, start, gedan::Case::kSensitive);
    CheckFind(text, other, start, gedan::Case::kIgnore);
  }
  CheckSplit(text, other);

  const Text same = gedan::ReplaceText(text, other, other);
  Check(same == text ||
        (same.size() + 1 == text.size() && text.compare(0, same.size(), same) == 0 &&
         static_cast<unsigned char>(text.back()) >= 0x80));
  const Text trimmed = gedan::TrimBoth(text);
  Check(text.find(trimmed) != Text::npos);
  Check(gedan::CompareText(text, text, gedan::Case::kIgnore) == 0);
  (void)gedan::TextBetween(text, other, other);
  (void)gedan::ToInteger(text);

  CheckConversions(text);
  (void)gedan::DecodeCharset(gedan::Bytes(text.begin(), text.end()), other.substr(0, 24));
  return 0;
}
