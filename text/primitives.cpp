#include "text/primitives.h"

#include <algorithm>
#include <cstring>

namespace gedan {
namespace {

using Byte = unsigned char;

Byte At(TextView text, std::size_t i) {
  return static_cast<Byte>(text[i]);
}

bool IsLead(Byte b) {
  return b >= 0x80;
}

Byte FoldAscii(Byte b) {
  return (b >= 'a' && b <= 'z') ? static_cast<Byte>(b - 'a' + 'A') : b;
}

// Offset where a scan starting at 1-based `start` begins: max(start - 1, 0).
std::size_t BeginOffset(int start) {
  return start > 1 ? static_cast<std::size_t>(start) - 1 : 0;
}

// The character after the one at `p`, or text.size() + 1 when a lead byte is the last byte (the
// scan ends there).
std::size_t NextCharacter(TextView text, std::size_t p) {
  if (!IsLead(At(text, p))) return p + 1;
  return p + 1 < text.size() ? p + 2 : text.size() + 1;
}

// Whether `sought` stands at character boundary `p` of `text`. Letter folding touches only
// single-byte characters: the bytes of a double-byte character must be equal.
bool MatchesAt(TextView text, std::size_t p, TextView sought, Case letterCase) {
  if (letterCase == Case::kSensitive) return text.compare(p, sought.size(), sought) == 0;
  std::size_t j = 0;
  while (j < sought.size()) {
    Byte a = At(text, p + j);
    Byte b = At(sought, j);
    if (IsLead(a)) {
      if (a != b) return false;
      if (j + 1 < sought.size() && At(text, p + j + 1) != At(sought, j + 1)) return false;
      j += 2;
    } else {
      if (FoldAscii(a) != FoldAscii(b)) return false;
      j += 1;
    }
  }
  return true;
}

}  // namespace

int TextLength(TextView text) {
  return static_cast<int>(text.size());
}

Text TextLeft(TextView text, int n) {
  if (n <= 0) return {};
  return Text(text.substr(0, static_cast<std::size_t>(n)));
}

Text TextRight(TextView text, int n) {
  if (n <= 0) return {};
  std::size_t count = std::min(static_cast<std::size_t>(n), text.size());
  return Text(text.substr(text.size() - count));
}

Text TextMid(TextView text, int start, int n) {
  if (start < 1 || static_cast<std::size_t>(start) > text.size() || n <= 0) return {};
  return Text(text.substr(static_cast<std::size_t>(start) - 1, static_cast<std::size_t>(n)));
}

int FindText(TextView text, TextView sought, int start, Case letterCase) {
  std::size_t p = BeginOffset(start);
  if (p >= text.size()) return kNotFound;
  if (sought.empty()) return 1;
  while (p < text.size() && text.size() - p >= sought.size()) {
    if (MatchesAt(text, p, sought, letterCase)) return static_cast<int>(p) + 1;
    p = NextCharacter(text, p);
  }
  return kNotFound;
}

Text ReplaceText(TextView text, TextView sought, TextView replacement, int start, int count,
                 Case letterCase) {
  std::size_t p = BeginOffset(start);
  if (text.empty() || sought.empty() || p >= text.size() || count == 0) return Text(text);
  Text out(text.substr(0, p));
  out.reserve(text.size());
  int replaced = 0;
  while (p < text.size() && text.size() - p >= sought.size()) {
    if (MatchesAt(text, p, sought, letterCase)) {
      out += replacement;
      p += sought.size();
      if (count > 0 && ++replaced == count) break;
      continue;
    }
    std::size_t next = NextCharacter(text, p);
    if (next > text.size()) {  // a lead byte with nothing after it is dropped
      p = text.size();
      break;
    }
    out.append(text.substr(p, next - p));
    p = next;
  }
  if (p < text.size()) out.append(text.substr(p));
  return out;
}

TextArray SplitText(TextView text, TextView separator, int maxCount) {
  TextArray pieces;
  if (text.empty() || maxCount <= 0) return pieces;
  if (separator.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  std::size_t pieceStart = 0;
  std::size_t p = 0;
  while (p < text.size()) {
    if (text.size() - p >= separator.size() && text.compare(p, separator.size(), separator) == 0) {
      pieces.emplace_back(text.substr(pieceStart, p - pieceStart));
      p += separator.size();
      pieceStart = p;
      if (static_cast<int>(pieces.size()) == maxCount) return pieces;
      continue;
    }
    p = NextCharacter(text, p);
  }
  if (pieceStart < text.size()) pieces.emplace_back(text.substr(pieceStart));
  return pieces;
}

Text TrimBoth(TextView text) {
  auto fullWidthSpaceAt = [&](std::size_t p) {
    return p + 1 < text.size() && At(text, p) == 0xA1 && At(text, p + 1) == 0xA1;
  };
  std::size_t p = 0;
  while (p < text.size()) {
    if (At(text, p) == ' ') {
      p += 1;
    } else if (fullWidthSpaceAt(p)) {
      p += 2;
    } else {
      break;
    }
  }
  const std::size_t begin = p;
  std::size_t end = text.size();
  std::size_t blankRun = text.size();  // where the current run of blanks began; size() = none
  while (p < text.size()) {
    if (At(text, p) == ' ') {
      if (blankRun == text.size()) blankRun = p;
      p += 1;
    } else if (fullWidthSpaceAt(p)) {
      if (blankRun == text.size()) blankRun = p;
      p += 2;
    } else if (IsLead(At(text, p)) && p + 1 == text.size()) {
      end = p;  // a lone lead byte at the end is cut off too
      break;
    } else {
      blankRun = text.size();
      p = NextCharacter(text, p);
    }
  }
  if (blankRun < end) end = blankRun;
  return Text(text.substr(begin, end - begin));
}

int CompareText(TextView a, TextView b, Case letterCase) {
  const std::size_t common = std::min(a.size(), b.size());
  std::size_t i = 0;
  while (i < common) {
    Byte x = At(a, i);
    Byte y = At(b, i);
    // Both texts agree up to i, so i is a character boundary in both. Byte order within a
    // double-byte character is its order as a whole character; only single bytes are folded.
    std::size_t width = IsLead(x) ? 2 : 1;
    if (width == 1 && letterCase == Case::kIgnore) {
      x = FoldAscii(x);
      y = FoldAscii(y);
    }
    if (x != y) return x < y ? -1 : 1;
    if (width == 2 && i + 1 < common && At(a, i + 1) != At(b, i + 1))
      return At(a, i + 1) < At(b, i + 1) ? -1 : 1;
    i += width;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

Text RepeatText(int count, TextView text) {
  Text out;
  if (count <= 0 || text.empty()) return out;
  out.reserve(text.size() * static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) out += text;
  return out;
}

Text CharFromCode(int byteValue) {
  auto byte = static_cast<char>(static_cast<Byte>(byteValue));
  if (byte == '\0') return {};
  return Text(1, byte);
}

}  // namespace gedan
