#pragma once

// Building and cutting byte sets.

#include <cstddef>

#include "text/value.h"

namespace gedan {

Bytes ToBytes(TextView text);  // the text's bytes, no terminator
int BytesLength(const Bytes& bytes);
Bytes BytesLeft(const Bytes& bytes, int n);  // n clamped to 0..length
Bytes BlankBytes(int n);                     // n zero bytes; empty when n <= 0
Bytes BytesFromPointer(const void* address, std::size_t n);

}  // namespace gedan
