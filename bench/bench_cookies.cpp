// Cookie merging against a response that sets very many cookies: the work must grow in step with
// the number of items, or a hostile server could stall a request long after its time-out.

#include <benchmark/benchmark.h>

#include "http/cookies.h"
#include "text/numbers.h"

namespace gedan {
namespace {

Text ManyCookies(int count, const char* prefix) {
  Text text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += "; ";
    text += prefix + ToText(i) + "=v" + ToText(i % 97);
  }
  return text;
}

void BM_MergeCookiesFlood(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const Text request = ManyCookies(count / 2, "r");
  const Text response = ManyCookies(count, "s");
  for (auto _ : state) {
    Text requestCopy = request;
    Text responseCopy = response;
    benchmark::DoNotOptimize(MergeCookies(requestCopy, responseCopy));
  }
  state.SetComplexityN(count);
}
BENCHMARK(BM_MergeCookiesFlood)->RangeMultiplier(4)->Range(1024, 65536)->Complexity();

}  // namespace
}  // namespace gedan
