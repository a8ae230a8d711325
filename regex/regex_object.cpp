#include "regex/regex_object.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The 16-bit library: patterns and subjects are matched as UTF-16.
// clang-format off
#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>
// clang-format on

#include "text/encoding.h"
#include "text/markers.h"
#include "text/primitives.h"

namespace gedan {
namespace {

// Bounds for one search, so that a pattern that backtracks catastrophically over a hostile page
// gives up in about a tenth of a second, holding at most 20 MiB of backtracking state. A search
// that hits a bound ends the collection of matches: what was found before it stays.
constexpr std::uint32_t kMatchLimit = 10'000'000;
constexpr std::uint32_t kHeapLimitKiB = 20 * 1024;

// Compile options. UTF keeps surrogate pairs whole (a match never splits an emoji); without UCP,
// \w, \d, \s and \b stay ASCII, as in the engines whose patterns we run: \w is [A-Za-z0-9_].
// Letter case is still folded for all of Unicode in caseless mode. Lines end at CR, LF or CRLF, so
// ^ and $ work on pages with either line end, and "." stops at both.
constexpr std::uint32_t kBaseOptions = PCRE2_UTF;
constexpr std::uint32_t kNewline = PCRE2_NEWLINE_ANYCRLF;

struct CodeDeleter {
  void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataDeleter {
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};
struct CompileContextDeleter {
  void operator()(pcre2_compile_context* context) const { pcre2_compile_context_free(context); }
};
struct MatchContextDeleter {
  void operator()(pcre2_match_context* context) const { pcre2_match_context_free(context); }
};

PCRE2_SPTR Units(std::u16string_view text) {
  return reinterpret_cast<PCRE2_SPTR>(text.data());
}

bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}

}  // namespace

// Everything one Match produced. Never changed after Match has built it, so copies can share it.
struct RegexObject::State {
  // One match or group in UTF-16 units of `subject`; start == kUnset when the group took no part.
  struct Span {
    std::size_t start = kUnset;
    std::size_t end = kUnset;
  };
  static constexpr std::size_t kUnset = static_cast<std::size_t>(-1);

  Text pattern;
  bool accepted = false;  // false when the engine rejected the pattern
  std::u16string subject;
  std::size_t groupCount = 0;
  // Match after match, each as the whole match followed by its groups 1..groupCount.
  std::vector<Span> spans;

  int MatchCount() const { return static_cast<int>(spans.size() / (groupCount + 1)); }

  // The span of group `group` (0 = whole match) of 1-based match `match`; nullptr when missing.
  const Span* Find(int match, int group) const {
    if (match < 1 || match > MatchCount() || group < 0) return nullptr;
    if (static_cast<std::size_t>(group) > groupCount) return nullptr;
    const Span& span = spans[(match - 1) * (groupCount + 1) + group];
    return span.start == kUnset ? nullptr : &span;
  }

  // The text of a match or group as internal text; `position` (when given) receives its 0-based
  // byte offset in the subject as internal text, that is the length of the internal text in front
  // of it, or -1 when there is no such match or group.
  Text Read(int match, int group, int* position) const {
    const Span* span = Find(match, group);
    if (!span) return Missing(position);
    const std::u16string_view units(subject);
    if (position != nullptr)
      *position = static_cast<int>(Utf16ToAnsi(units.substr(0, span->start)).size());
    return Utf16ToAnsi(units.substr(span->start, span->end - span->start));
  }

  static Text Missing(int* position) {
    if (position != nullptr) *position = -1;
    return {};
  }

  void Collect(const pcre2_code* code, bool global);
  std::u16string Expand(std::u16string_view replacement, std::size_t match) const;
};

// Runs the compiled pattern over the subject from the start, keeping every match (or the first),
// with the usual rule for empty matches: after an empty match, look for a non-empty one at the
// same place before moving one character on.
void RegexObject::State::Collect(const pcre2_code* code, bool global) {
  std::unique_ptr<pcre2_match_data, MatchDataDeleter> data(
      pcre2_match_data_create_from_pattern(code, nullptr));
  std::unique_ptr<pcre2_match_context, MatchContextDeleter> context(
      pcre2_match_context_create(nullptr));
  if (!data || !context) return;
  pcre2_set_match_limit(context.get(), kMatchLimit);
  pcre2_set_heap_limit(context.get(), kHeapLimitKiB);

  const std::size_t length = subject.size();
  std::size_t offset = 0;
  std::uint32_t options = 0;
  bool checked = false;
  for (;;) {
    // The subject is valid UTF-16 (it came out of a converter), and checking it once is enough:
    // checking it again on every call would make collecting n matches cost n times its length.
    std::uint32_t utfCheck = checked ? PCRE2_NO_UTF_CHECK : 0;
    int rc = pcre2_match(code, Units(subject), length, offset, options | utfCheck, data.get(),
                         context.get());
    checked = true;
    if (rc == PCRE2_ERROR_NOMATCH && options != 0) {
      // No non-empty match where the last empty one was: move one character on and go on.
      if (offset >= length) break;
      std::size_t step = 1;
      if (IsHighSurrogate(subject[offset]) && offset + 1 < length) step = 2;
      if (subject[offset] == u'\r' && offset + 1 < length && subject[offset + 1] == u'\n') step = 2;
      offset += step;
      options = 0;
      continue;
    }
    // No (more) matches, or a bound was hit, or the subject was refused: keep what we have.
    if (rc <= 0) break;

    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data.get());
    // A match that ends before it starts (\K in a lookaround can do that) has nothing sensible
    // to keep.
    if (ovector[0] > ovector[1]) break;
    for (std::size_t group = 0; group <= groupCount; ++group) {
      Span span;
      if (group < static_cast<std::size_t>(rc) && ovector[2 * group] != PCRE2_UNSET) {
        span.start = ovector[2 * group];
        span.end = ovector[2 * group + 1];
      }
      spans.push_back(span);
    }
    if (!global) break;
    offset = ovector[1];
    options = ovector[0] == ovector[1] ? PCRE2_NOTEMPTY_ATSTART | PCRE2_ANCHORED : 0;
  }
}

// The replacement for match `match` (0-based), with the usual references: $1..$99 for groups
// (two digits when that group exists, else one), $& for the match, $` and $' for the subject in
// front of and behind it, $$ for a dollar sign. Anything else stays as written.
std::u16string RegexObject::State::Expand(std::u16string_view replacement,
                                          std::size_t match) const {
  const Span* spanOf = &spans[match * (groupCount + 1)];
  const Span& whole = spanOf[0];
  std::u16string out;
  auto appendSpan = [&](const Span& span) {
    if (span.start != kUnset) out.append(subject, span.start, span.end - span.start);
  };
  auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
  for (std::size_t i = 0; i < replacement.size(); ++i) {
    char16_t c = replacement[i];
    if (c != u'$' || i + 1 >= replacement.size()) {
      out.push_back(c);
      continue;
    }
    char16_t next = replacement[i + 1];
    if (next == u'$') {
      out.push_back(u'$');
      ++i;
    } else if (next == u'&') {
      appendSpan(whole);
      ++i;
    } else if (next == u'`') {
      out.append(subject, 0, whole.start);
      ++i;
    } else if (next == u'\'') {
      out.append(subject, whole.end, std::u16string::npos);
      ++i;
    } else if (isDigit(next)) {
      std::size_t group = next - u'0';
      std::size_t digits = 1;
      if (i + 2 < replacement.size() && isDigit(replacement[i + 2])) {
        std::size_t twoDigits = group * 10 + (replacement[i + 2] - u'0');
        if (twoDigits >= 1 && twoDigits <= groupCount) {
          group = twoDigits;
          digits = 2;
        }
      }
      if (group >= 1 && group <= groupCount) {
        appendSpan(spanOf[group]);
        i += digits;
      } else {
        out.push_back(c);
      }
    } else {
      out.push_back(c);
    }
  }
  return out;
}

RegexObject::RegexObject() = default;
RegexObject::~RegexObject() = default;
RegexObject::RegexObject(const RegexObject& other) = default;
RegexObject& RegexObject::operator=(const RegexObject& other) = default;

bool RegexObject::Match(TextView pattern, TextView subject, bool caseSensitive, bool multiline,
                        bool global, bool quoteMarker) {
  // Copies made earlier keep the results they share; this object starts afresh.
  auto state = std::make_shared<State>();
  state->pattern = quoteMarker ? ReplaceText(pattern, QuoteMarker(), "\"") : Text(pattern);
  state_ = state;

  std::uint32_t options = kBaseOptions;
  if (!caseSensitive) options |= PCRE2_CASELESS;
  if (multiline) options |= PCRE2_MULTILINE;

  std::unique_ptr<pcre2_compile_context, CompileContextDeleter> compileContext(
      pcre2_compile_context_create(nullptr));
  if (!compileContext) return false;
  pcre2_set_newline(compileContext.get(), kNewline);

  const std::u16string widePattern = AnsiToUtf16(state->pattern);
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  std::unique_ptr<pcre2_code, CodeDeleter> code(
      pcre2_compile(Units(widePattern), widePattern.size(), options, &errorCode, &errorOffset,
                    compileContext.get()));
  if (!code) return false;

  std::uint32_t captureCount = 0;
  pcre2_pattern_info(code.get(), PCRE2_INFO_CAPTURECOUNT, &captureCount);
  state->accepted = true;
  state->groupCount = captureCount;
  state->subject = AnsiToUtf16(subject);
  state->Collect(code.get(), global);
  return true;
}

Text RegexObject::GetPattern() const {
  return state_ ? state_->pattern : Text();
}

Text RegexObject::ReplaceMatches(TextView replacement) const {
  if (!state_ || !state_->accepted) return {};
  const State& state = *state_;
  const std::u16string wideReplacement = AnsiToUtf16(replacement);
  std::u16string out;
  std::size_t copied = 0;
  const std::size_t stride = state.groupCount + 1;
  for (std::size_t match = 0; match < state.spans.size() / stride; ++match) {
    const State::Span& whole = state.spans[match * stride];
    out.append(state.subject, copied, whole.start - copied);
    out += state.Expand(wideReplacement, match);
    copied = whole.end;
  }
  out.append(state.subject, copied, std::u16string::npos);
  return Utf16ToAnsi(out);
}

int RegexObject::MatchCount() const {
  return state_ ? state_->MatchCount() : 0;
}

Text RegexObject::MatchText(int index, int* position) const {
  return state_ ? state_->Read(index, 0, position) : State::Missing(position);
}

Text RegexObject::SubMatchText(int matchIndex, int groupIndex, int* position) const {
  // Group 0 is the whole match, which is MatchText's business, not a group.
  if (!state_ || groupIndex < 1) return State::Missing(position);
  return state_->Read(matchIndex, groupIndex, position);
}

int RegexObject::SubMatchCount() const {
  if (!state_ || state_->MatchCount() == 0) return 0;
  return static_cast<int>(state_->groupCount);
}

}  // namespace gedan
