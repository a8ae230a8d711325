// Runs arbitrary patterns over arbitrary subjects through RegexObject and checks what it reports
// against the subject: every match and group must be found at the position given.
//
// Input: one byte of options (case-sensitive, multiline, global, quote marker in its low bits),
// then the pattern up to the first zero byte, then the subject.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "regex/regex_object.h"
#include "text/encoding.h"
#include "text/value.h"

namespace {

constexpr std::size_t kMaxPattern = 256;
constexpr std::size_t kMaxSubject = 4096;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// The text must stand at `position` in `subject`.
void CheckFound(const gedan::Text& subject, const gedan::Text& found, int position) {
  Check(position >= 0);
  Check(static_cast<std::size_t>(position) + found.size() <= subject.size());
  Check(subject.compare(static_cast<std::size_t>(position), found.size(), found) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t options = data[0];
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t zero = rest.find('\0');
  if (zero == std::string_view::npos) return 0;
  const gedan::Text pattern(rest.substr(0, zero));
  gedan::Text subject(rest.substr(zero + 1));
  if (pattern.size() > kMaxPattern || subject.size() > kMaxSubject) return 0;
  // Texts hold no zero byte.
  if (subject.find('\0') != gedan::Text::npos) return 0;

  gedan::RegexObject re;
  const bool accepted =
      re.Match(pattern, subject, options & 1, options & 2, options & 4, options & 8);
  const int count = re.MatchCount();
  Check(count >= 0);
  if (!accepted) Check(count == 0 && re.ReplaceMatches("x").empty());
  if (!(options & 4)) Check(count <= 1);

  // Positions are offsets in the subject as the engine saw it; that is the subject itself unless
  // it held bytes that are not GB18030.
  const gedan::Text seen = gedan::Utf16ToAnsi(gedan::AnsiToUtf16(subject));
  const int groups = re.SubMatchCount();
  for (int match = 1; match <= count; ++match) {
    int position = -1;
    const gedan::Text text = re.MatchText(match, &position);
    CheckFound(seen, text, position);
    for (int group = 1; group <= groups; ++group) {
      const gedan::Text groupText = re.SubMatchText(match, group, &position);
      if (position == -1) {
        Check(groupText.empty());
      } else {
        CheckFound(seen, groupText, position);
      }
    }
  }
  Check(re.MatchText(count + 1).empty());

  const gedan::RegexObject copy(re);
  Check(copy.MatchCount() == count);
  if (accepted) {
    Check(copy.ReplaceMatches("$&") == seen);
    (void)copy.ReplaceMatches("[$1$`$'$$]");
  }
  return 0;
}
