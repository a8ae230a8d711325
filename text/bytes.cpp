#include "text/bytes.h"

#include <algorithm>

namespace gedan {

Bytes ToBytes(TextView text) {
  return Bytes(text.begin(), text.end());
}

int BytesLength(const Bytes& bytes) {
  return static_cast<int>(bytes.size());
}

Bytes BytesLeft(const Bytes& bytes, int n) {
  std::size_t count = n <= 0 ? 0 : std::min(static_cast<std::size_t>(n), bytes.size());
  return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(count));
}

Bytes BlankBytes(int n) {
  return n <= 0 ? Bytes{} : Bytes(static_cast<std::size_t>(n), 0);
}

Bytes BytesFromPointer(const void* address, std::size_t n) {
  if (address == nullptr || n == 0) return {};
  const auto* first = static_cast<const unsigned char*>(address);
  return Bytes(first, first + n);
}

}  // namespace gedan
