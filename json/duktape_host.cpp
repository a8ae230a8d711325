#include "json/duktape_host.h"

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <duktape.h>

#include "json/engine_text.h"
#include "text/primitives.h"

namespace gedan {
namespace {

// Everything the engine's allocator and fatal handler reach through the heap's user data.
struct HeapState {
  std::size_t cap = 0;
  std::size_t used = 0;
  // Where a fatal engine error jumps to while the host is inside the engine; null outside.
  std::jmp_buf* recovery = nullptr;
};

// Each block carries its size in front of it, so a reallocation or a free can settle the account.
constexpr std::size_t kBlockHeader = alignof(std::max_align_t);

std::size_t BlockSize(void* block) {
  std::size_t size;
  std::memcpy(&size, block, sizeof size);
  return size;
}

void* Allocate(void* udata, duk_size_t size) {
  auto* state = static_cast<HeapState*>(udata);
  if (size == 0 || size > state->cap - state->used) return nullptr;
  void* block = std::malloc(size + kBlockHeader);
  if (block == nullptr) return nullptr;
  std::memcpy(block, &size, sizeof size);
  state->used += size;
  return static_cast<char*>(block) + kBlockHeader;
}

void Free(void* udata, void* ptr) {
  if (ptr == nullptr) return;
  auto* state = static_cast<HeapState*>(udata);
  void* block = static_cast<char*>(ptr) - kBlockHeader;
  state->used -= BlockSize(block);
  std::free(block);
}

void* Reallocate(void* udata, void* ptr, duk_size_t size) {
  if (ptr == nullptr) return Allocate(udata, size);
  if (size == 0) {
    Free(udata, ptr);
    return nullptr;
  }
  auto* state = static_cast<HeapState*>(udata);
  void* block = static_cast<char*>(ptr) - kBlockHeader;
  std::size_t old = BlockSize(block);
  if (size > old && size - old > state->cap - state->used) return nullptr;
  void* moved = std::realloc(block, size + kBlockHeader);
  if (moved == nullptr) return nullptr;
  std::memcpy(moved, &size, sizeof size);
  state->used = state->used - old + size;
  return static_cast<char*>(moved) + kBlockHeader;
}

// The engine calls this for errors it cannot throw to a catcher (it has no return path). Inside a
// host call we jump back to the host, which abandons the heap; outside one there is nowhere to go.
[[noreturn]] void OnFatal(void* udata, const char* message) {
  auto* state = static_cast<HeapState*>(udata);
  if (state != nullptr && state->recovery != nullptr) std::longjmp(*state->recovery, 1);
  std::fprintf(stderr, "gedan: script engine failed: %s\n", message ? message : "");
  std::abort();
}

enum class Want { kNothing, kText, kNumber, kBoolean };

bool IsWholeNumber(double value) {
  return std::isfinite(value) && std::trunc(value) == value;
}

// [ value ] -> [ value in a form the host can read without calling into the engine ].
// Runs under duk_safe_call: a conversion that throws leaves an error there instead.
duk_ret_t Normalise(duk_context* ctx, void* udata) {
  Want want = *static_cast<Want*>(udata);
  duk_int_t type = duk_get_type(ctx, -1);
  if (want == Want::kText) {
    bool readable = type == DUK_TYPE_STRING || type == DUK_TYPE_BOOLEAN || type == DUK_TYPE_NULL ||
                    type == DUK_TYPE_UNDEFINED ||
                    (type == DUK_TYPE_NUMBER && IsWholeNumber(duk_get_number(ctx, -1)));
    if (!readable) duk_to_string(ctx, -1);
  } else if (want == Want::kNumber && type == DUK_TYPE_STRING) {
    duk_to_number(ctx, -1);
  }
  return 1;
}

// One run of a script and its outcome. Plain data, like everything RunJob touches: the engine
// unwinds with longjmp, which must not pass over anything with a destructor.
struct Job {
  const char* code;
  std::size_t length;
  bool asProgram;
  Want want;
  bool accepted;
};

// [ ] -> [ value or error ]
void RunJob(duk_context* ctx, Job* job) {
  if (job->asProgram) {
    job->accepted = duk_pcompile_lstring(ctx, 0, job->code, job->length) == DUK_EXEC_SUCCESS &&
                    duk_pcall(ctx, 0) == DUK_EXEC_SUCCESS;
  } else {
    job->accepted = duk_peval_lstring(ctx, job->code, job->length) == DUK_EXEC_SUCCESS;
  }
  if (job->accepted && job->want != Want::kNothing) {
    job->accepted = duk_safe_call(ctx, Normalise, &job->want, 1, 1) == DUK_EXEC_SUCCESS;
  }
}

Text WholeNumberText(double value) {
  if (value == 0) return "0";  // also for -0
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.0f", value);
  return buffer;
}

class DuktapeHost final : public ScriptHost {
 public:
  explicit DuktapeHost(std::size_t memoryCap) {
    state_.cap = memoryCap;
    ctx_ = duk_create_heap(Allocate, Reallocate, Free, &state_, OnFatal);
  }
  ~DuktapeHost() override {
    // After a fatal error the heap is in no state to be walked, so it is left as it is.
    if (ctx_ != nullptr && !broken_) duk_destroy_heap(ctx_);
  }
  DuktapeHost(const DuktapeHost&) = delete;
  DuktapeHost& operator=(const DuktapeHost&) = delete;

  bool Started() const { return ctx_ != nullptr; }

  bool SetLanguage(TextView language) override {
    return CompareText(language, "JavaScript", Case::kIgnore) == 0 ||
           CompareText(language, "JScript", Case::kIgnore) == 0;
  }

  bool AddCode(TextView code) override { return Run(code, true, Want::kNothing); }

  bool Eval(TextView code) override { return Run(code, false, Want::kNothing); }

  Text EvalText(TextView code) override {
    Text text;
    if (!Run(code, false, Want::kText)) return text;
    switch (duk_get_type(ctx_, -1)) {
      case DUK_TYPE_STRING: {
        duk_size_t length = 0;
        const char* chars = duk_get_lstring(ctx_, -1, &length);
        text = FromEngineText(std::string_view(chars, length));
        break;
      }
      case DUK_TYPE_NUMBER:
        text = WholeNumberText(duk_get_number(ctx_, -1));
        break;
      case DUK_TYPE_BOOLEAN:
        text = duk_get_boolean(ctx_, -1) ? "true" : "false";
        break;
      default:
        break;  // null and undefined have no text
    }
    duk_pop(ctx_);
    return text;
  }

  double EvalNumber(TextView code) override {
    double number = 0;
    if (!Run(code, false, Want::kNumber)) return number;
    if (duk_is_number(ctx_, -1)) {
      number = duk_get_number(ctx_, -1);
      if (std::isnan(number)) number = 0;  // a string that holds no number
    } else if (duk_is_boolean(ctx_, -1)) {
      number = duk_get_boolean(ctx_, -1) ? 1 : 0;
    }
    duk_pop(ctx_);
    return number;
  }

  bool EvalBoolean(TextView code) override {
    bool value = false;
    if (!Run(code, false, Want::kBoolean)) return value;
    if (duk_is_boolean(ctx_, -1)) {
      value = duk_get_boolean(ctx_, -1) != 0;
    } else if (duk_is_number(ctx_, -1)) {
      double number = duk_get_number(ctx_, -1);
      value = number != 0 && !std::isnan(number);
    }
    duk_pop(ctx_);
    return value;
  }

 private:
  // Runs `code`. True when the engine accepted it; then, unless nothing is wanted, its value is on
  // top of the stack for the caller to read and pop. False leaves the stack as it was.
  bool Run(TextView code, bool asProgram, Want want) {
    if (ctx_ == nullptr || broken_) return false;
    std::string converted;
    if (!IsPlainAscii(code)) converted = ToEngineText(code);
    const std::string_view source = converted.empty() ? code : converted;
    Job job{source.data(), source.size(), asProgram, want, false};
    if (!Enter(&job)) return false;
    if (job.accepted && want != Want::kNothing) return true;
    duk_pop(ctx_);
    return job.accepted;
  }

  // RunJob guarded against fatal errors. False when one happened: the heap is abandoned.
  bool Enter(Job* job) {
    std::jmp_buf recovery;
    state_.recovery = &recovery;
    if (setjmp(recovery) != 0) {
      state_.recovery = nullptr;
      broken_ = true;
      return false;
    }
    RunJob(ctx_, job);
    state_.recovery = nullptr;
    return true;
  }

  HeapState state_;
  duk_context* ctx_ = nullptr;
  bool broken_ = false;
};

}  // namespace

std::shared_ptr<ScriptHost> CreateDuktapeHost(std::size_t memoryCap) {
  auto host = std::make_shared<DuktapeHost>(memoryCap);
  if (!host->Started()) return nullptr;
  return host;
}

std::shared_ptr<ScriptHost> CreateScriptHost() {
  return CreateDuktapeHost();
}

}  // namespace gedan
