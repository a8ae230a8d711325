#pragma once

// A JavaScript engine that runs texts given to it: the ground JsonObject stands on.
//
//   std::shared_ptr<ScriptHost> host = CreateScriptHost();
//   host->SetLanguage("JavaScript");
//   host->AddCode("var da={n:1}");
//   double n = host->EvalNumber("da.n");   // 1
//
// Texts go in and come out as internal text; the host converts them to and from the engine's own
// encoding. A script the engine rejects (syntax error, run-time error, out of memory) and a value
// that cannot be converted to the asked type give the zero value of that type: empty text, 0,
// false. Only texts written by the program itself may be run as code: the engine cannot stop a
// script that never ends.

#include <memory>

#include "text/value.h"

namespace gedan {

class ScriptHost {
 public:
  virtual ~ScriptHost() = default;

  // Selects the script language; false when the host does not speak it.
  virtual bool SetLanguage(TextView language) = 0;
  // Runs `code` as global code; false when the engine rejects it.
  virtual bool AddCode(TextView code) = 0;

  // Evaluate `code` as global code and give the value of its last expression or statement, not at
  // all (Eval only tells whether the engine accepted the script), as text, as a decimal or as a
  // boolean.
  // As text: a string unchanged, a whole number in plain digits, another number in the engine's
  // shortest form ("1.5", "NaN"), "true" or "false", null and undefined as the empty text, anything
  // else as the engine's String() of it.
  // As a decimal: a number (NaN gives 0), a boolean as 1 or 0, a string that reads as a number.
  // As a boolean: a boolean, or a number other than 0 and NaN; anything else is false.
  virtual bool Eval(TextView code) = 0;
  virtual Text EvalText(TextView code) = 0;
  virtual double EvalNumber(TextView code) = 0;
  virtual bool EvalBoolean(TextView code) = 0;

 protected:
  ScriptHost() = default;
  ScriptHost(const ScriptHost&) = default;
  ScriptHost& operator=(const ScriptHost&) = default;
};

// A new host with a fresh engine, or nullptr when no engine could be created.
std::shared_ptr<ScriptHost> CreateScriptHost();

}  // namespace gedan
