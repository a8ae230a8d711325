#pragma once

// The script host on the embedded Duktape engine (see script_host.h for the contract).
//
//   auto host = CreateDuktapeHost(16u << 20);   // an engine that may use at most 16 MiB
//   host->AddCode("var s=new Array(1e9).join('x')");   // false: out of memory, nothing crashed
//   host->EvalNumber("1+1");                            // 2: the engine is still usable
//
// Each host owns one engine heap. Every allocation of the heap counts against its cap; when the
// cap would be passed the allocation fails, the engine throws an out-of-memory error that ends the
// running script, and the heap stays usable. Scripts run in protected calls; should the engine
// still hit an unrecoverable error, the host stops using that heap and every later call yields its
// zero value.

#include <cstddef>
#include <memory>

#include "json/script_host.h"

namespace gedan {

// Large enough for a share page tens of megabytes long, small enough to leave the program room.
inline constexpr std::size_t kDefaultScriptMemoryCap = std::size_t{256} << 20;

// nullptr when the engine cannot start within `memoryCap` bytes.
std::shared_ptr<ScriptHost> CreateDuktapeHost(std::size_t memoryCap = kDefaultScriptMemoryCap);

}  // namespace gedan
