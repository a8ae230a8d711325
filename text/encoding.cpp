#include "text/encoding.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <utility>

#include <iconv.h>

namespace gedan {
namespace {

constexpr const char* kInternal = "GB18030";
constexpr const char* kUtf16 = "UTF-16LE";
constexpr const char* kUtf8 = "UTF-8";

// U+FFFD in each target encoding we convert to; input that is not valid in the source encoding is
// replaced by it, so a broken byte never swallows the text that follows.
std::string_view ReplacementIn(std::string_view target) {
  if (target == kInternal) return "\x84\x31\xA4\x37";
  if (target == kUtf16) return std::string_view("\xFD\xFF", 2);
  return "\xEF\xBF\xBD";
}

struct IconvCloser {
  void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

// Opening a converter costs more than converting a short text, so each thread keeps the ones it
// has used. nullptr when iconv does not know the pair. Charset names come from web pages, so
// unknown names are not kept and the cache starts afresh when it grows large: a stream of pages
// naming ever new charsets (or spelling one in ever new letter cases) cannot make it grow without
// bound. The handle returned stays valid until the next call on this thread.
iconv_t Converter(const std::string& to, const std::string& from) {
  constexpr std::size_t kMaxConverters = 32;
  thread_local std::map<std::pair<std::string, std::string>, IconvHandle> cache;
  auto key = std::make_pair(to, from);
  auto it = cache.find(key);
  if (it == cache.end()) {
    iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
    if (cache.size() >= kMaxConverters) cache.clear();
    it = cache.emplace(std::move(key), IconvHandle(cd)).first;
  }
  return static_cast<iconv_t>(it->second.get());
}

// What is skipped, together with one replacement, where iconv stops: a code unit of the source,
// or for UTF-8 a whole well-formed character (one the target has no code for) and a byte otherwise.
enum class SourceUnit { kByte, kUtf8Character, kUtf16Unit };

// Length of the well-formed UTF-8 character at the start of `in`, or 0 when there is none.
std::size_t Utf8CharacterLength(const char* in, std::size_t length) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(in[i]); };
  auto within = [&](std::size_t i, unsigned char low, unsigned char high) {
    return i < length && byte(i) >= low && byte(i) <= high;
  };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return within(1, 0x80, 0xBF) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
    return within(1, low, high) && within(2, 0x80, 0xBF) ? 3 : 0;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;  // nothing beyond U+10FFFF
    return within(1, low, high) && within(2, 0x80, 0xBF) && within(3, 0x80, 0xBF) ? 4 : 0;
  }
  return 0;
}

std::size_t RefusedLength(SourceUnit unit, const char* in, std::size_t length) {
  std::size_t skip = 1;
  if (unit == SourceUnit::kUtf16Unit) skip = 2;
  if (unit == SourceUnit::kUtf8Character)
    skip = std::max<std::size_t>(Utf8CharacterLength(in, length), 1);
  return std::min(skip, length);
}

// Converts all of `in`. Input iconv refuses (invalid, incomplete, or a character the target lacks)
// becomes one replacement character per refused unit.
std::string Convert(iconv_t cd, std::string_view target, const char* in, std::size_t inLength,
                    SourceUnit unit) {
  std::string out;
  if (inLength == 0) return out;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  out.resize(inLength * 2 + 16);
  char* src = const_cast<char*>(in);
  std::size_t srcLeft = inLength;
  std::size_t used = 0;
  while (srcLeft > 0) {
    char* dst = out.data() + used;
    std::size_t dstLeft = out.size() - used;
    std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    used = out.size() - dstLeft;
    if (rc != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    // EILSEQ or EINVAL: one refused unit becomes one replacement character.
    std::string_view replacement = ReplacementIn(target);
    if (out.size() - used < replacement.size()) out.resize(out.size() * 2 + replacement.size());
    std::memcpy(out.data() + used, replacement.data(), replacement.size());
    used += replacement.size();
    std::size_t skip = RefusedLength(unit, src, srcLeft);
    src += skip;
    srcLeft -= skip;
  }
  // Flush a stateful encoder's final shift sequence.
  for (;;) {
    char* dst = out.data() + used;
    std::size_t dstLeft = out.size() - used;
    std::size_t rc = iconv(cd, nullptr, nullptr, &dst, &dstLeft);
    used = out.size() - dstLeft;
    if (rc != static_cast<std::size_t>(-1) || errno != E2BIG) break;
    out.resize(out.size() * 2);
  }
  out.resize(used);
  return out;
}

std::string ConvertKnown(const char* to, const char* from, const char* in, std::size_t inLength,
                         SourceUnit unit) {
  iconv_t cd = Converter(to, from);
  if (cd == nullptr) return {};  // glibc always has these three; nothing sensible to do otherwise
  return Convert(cd, to, in, inLength, unit);
}

bool IsUtf8Name(std::string_view charset) {
  auto same = [&](std::string_view name) {
    return charset.size() == name.size() &&
           std::equal(charset.begin(), charset.end(), name.begin(), [](char a, char b) {
             return std::tolower(static_cast<unsigned char>(a)) == b;
           });
  };
  return same("utf-8") || same("utf8");
}

Text CutAtZero(std::string text) {
  auto zero = text.find('\0');
  if (zero != std::string::npos) text.resize(zero);
  return text;
}

}  // namespace

Bytes AnsiToUnicode(TextView text, bool dropTerminator) {
  if (text.empty()) return {};
  std::string wide = ConvertKnown(kUtf16, kInternal, text.data(), text.size(), SourceUnit::kByte);
  Bytes out(wide.begin(), wide.end());
  if (!dropTerminator) out.insert(out.end(), {0, 0});
  return out;
}

Text UnicodeToAnsi(const Bytes& utf16le) {
  std::size_t units = utf16le.size() / 2;
  for (std::size_t i = 0; i < units; ++i) {
    if (utf16le[2 * i] == 0 && utf16le[2 * i + 1] == 0) {
      units = i;
      break;
    }
  }
  return ConvertKnown(kInternal, kUtf16, reinterpret_cast<const char*>(utf16le.data()), units * 2,
                      SourceUnit::kUtf16Unit);
}

Text Utf8ToAnsi(std::string_view utf8) {
  return CutAtZero(
      ConvertKnown(kInternal, kUtf8, utf8.data(), utf8.size(), SourceUnit::kUtf8Character));
}

Text Utf8ToAnsi(const Bytes& utf8) {
  return Utf8ToAnsi(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

std::string AnsiToUtf8(TextView text) {
  return ConvertKnown(kUtf8, kInternal, text.data(), text.size(), SourceUnit::kByte);
}

std::u16string AnsiToUtf16(TextView text) {
  std::string wide = ConvertKnown(kUtf16, kInternal, text.data(), text.size(), SourceUnit::kByte);
  std::u16string out(wide.size() / 2, u'\0');
  std::memcpy(out.data(), wide.data(), out.size() * 2);
  return out;
}

Text Utf16ToAnsi(std::u16string_view utf16) {
  std::size_t zero = utf16.find(u'\0');
  if (zero != std::u16string_view::npos) utf16 = utf16.substr(0, zero);
  return ConvertKnown(kInternal, kUtf16, reinterpret_cast<const char*>(utf16.data()),
                      utf16.size() * 2, SourceUnit::kUtf16Unit);
}

std::optional<Text> DecodeCharset(const Bytes& bytes, std::string_view charset) {
  if (charset.empty()) return std::nullopt;
  iconv_t cd = Converter(kInternal, std::string(charset));
  if (cd == nullptr) return std::nullopt;
  return CutAtZero(Convert(cd, kInternal, reinterpret_cast<const char*>(bytes.data()), bytes.size(),
                           IsUtf8Name(charset) ? SourceUnit::kUtf8Character : SourceUnit::kByte));
}

}  // namespace gedan
