#include "json/json_object.h"

#include <cmath>
#include <limits>

#include "json/script_host.h"
#include "json/script_literal.h"
#include "text/markers.h"
#include "text/numbers.h"
#include "text/primitives.h"

namespace gedan {
namespace {

// Loaded into every engine before anything else. The member counter subtracts the two members
// that the prototype extension adds to every object and array; GetMemberNames drops them by name.
// JSON itself is built into the engine, so the guard only keeps a JSON object in place.
constexpr TextView kPrelude =
    "function get__count(c){var i=-2;for(v in c)i++;return i}\n"
    "if(typeof JSON!=='object'){JSON={}}\n"
    "(function(){'use strict';"
    "if(!Object.prototype.toJSONString){Object.prototype.toJSONString=function(filter){return "
    "JSON.stringify(this,filter)};Object.prototype.parseJSON=function(filter){return "
    "JSON.parse(this,filter)}}"
    "}());\n";

// The kind of a value, as GetType reports it, for a value passed as `v`.
constexpr TextView kKindOf =
    "(function(v){if(v==null)return 0;switch(typeof v){case 'boolean':return 1;"
    "case 'number':return 2;case 'string':return 6;case 'object':return Array.isArray(v)?5:4}"
    "return -1})(";

bool StartsWithBracket(TextView path) {
  return !path.empty() && path.front() == '[';
}

// Paths become member expressions by one of two rules. The dot rule always puts a dot between the
// name and the path, so a path that begins with "[" gives an expression the engine rejects; the
// bracket rule leaves the dot out before "[".
Text DotRule(TextView name, TextView path) {
  Text e(name);
  e += '.';
  e += path;
  return e;
}

Text DotRuleOrName(TextView name, TextView path) {
  return path.empty() ? Text(name) : DotRule(name, path);
}

Text BracketRule(TextView name, TextView path) {
  if (!StartsWithBracket(path)) return DotRule(name, path);
  Text e(name);
  e += path;
  return e;
}

Text Stringified(TextView expression) {
  Text code = "JSON.stringify(";
  code += expression;
  code += ')';
  return code;
}

// JSON text as a script value. It is handed to the engine's JSON parser as a string, so nothing
// in it can run.
void AppendJsonValue(Text& code, TextView json) {
  code += "JSON.parse(";
  AppendScriptStringLiteral(code, json);
  code += ')';
}

Text JsonValue(TextView json) {
  Text value;
  AppendJsonValue(value, json);
  return value;
}

Text ScriptValue(TextView value, bool asJson) {
  return asJson ? JsonValue(value) : ScriptStringLiteral(value);
}

Text Indexed(TextView expression, int index) {
  Text e(expression);
  e += '[';
  e += ToText(index);
  e += ']';
  return e;
}

int TruncateToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (value <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

}  // namespace

JsonObject::JsonObject() : name_("da") {
  Init();
}

JsonObject::~JsonObject() = default;

JsonObject::JsonObject(const JsonObject& other) = default;

JsonObject& JsonObject::operator=(const JsonObject& other) = default;

void JsonObject::Init() {
  host_ = CreateScriptHost();
  if (!host_) return;
  host_->SetLanguage("JavaScript");
  host_->AddCode(kPrelude);
  host_->Eval("var " + name_ + "={}");
}

bool JsonObject::Parse(TextView text) {
  // Every document starts in a fresh engine; an object that never had one does not get one here.
  if (!host_) return false;
  host_.reset();
  Init();
  if (!host_) return false;
  host_->Eval("var " + name_ + "=null");
  Text load = "var " + name_ + "=";
  // A rejected text leaves null behind, an empty one nothing at all: undefined, which has no JSON
  // form, so what is read out of an empty reply and stored elsewhere adds no member.
  if (text.empty()) {
    load += "undefined";
  } else {
    AppendJsonValue(load, text);  // a long text is copied once, not three times
  }
  host_->AddCode(load);
  return host_->EvalBoolean("null !=" + name_);
}

Text JsonObject::ToJson() {
  if (!host_) return {};
  return host_->EvalText(Stringified(name_));
}

void JsonObject::SetText(TextView path, TextView value, bool asJson) {
  if (!host_) return;
  if (asJson && value.empty()) value = "{}";
  host_->Eval(DotRule(name_, path) + "=" + ScriptValue(value, asJson));
}

void JsonObject::SetJson(TextView path, TextView json) {
  if (!host_) return;
  host_->Eval(DotRule(name_, path) + "=" + JsonValue(json));
}

void JsonObject::SetNumber(TextView path, double value) {
  if (!host_) return;
  host_->Eval(DotRule(name_, path) + "=" + ToText(value));
}

double JsonObject::GetNumber(TextView path) {
  if (!host_) return 0;
  return host_->EvalNumber(DotRule(name_, path));
}

Text JsonObject::GetJson(TextView path) {
  if (!host_) return {};
  return host_->EvalText(Stringified(DotRule(name_, path)));
}

Text JsonObject::GetText(TextView path, bool asJson) {
  if (!host_) return {};
  const Text e = BracketRule(name_, path);
  if (asJson) return host_->EvalText(Stringified(e));
  // Numbers read through the dot rule are written as "%.13g"; paths that begin with "[" never
  // are (GetType gives -1 for them) and come back in the engine's form.
  if (GetType(path) == kJsonNumber) return ToText(GetNumber(path));
  return host_->EvalText(e);
}

JsonObject JsonObject::GetObject(TextView path) {
  const Text json = host_ ? host_->EvalText(Stringified(BracketRule(name_, path))) : Text();
  JsonObject part;
  part.Parse(json);
  return part;
}

int JsonObject::GetCount(TextView path) {
  if (!host_) return 0;
  const Text e = path.empty() ? name_ : BracketRule(name_, path);
  return TruncateToInt(host_->EvalNumber("get__count(" + e + ")"));
}

void JsonObject::Append(TextView value, TextView path, bool raw) {
  if (!host_) return;
  // The value is worked out before the target is touched, so a value the engine rejects changes
  // nothing.
  const Text e = DotRuleOrName(name_, path);
  host_->Eval("(function(appended__){if (Object.prototype.toString.call(" + e +
              ") != '[object Array]') { " + e + "=new Array();} " + e + ".push(appended__)})(" +
              ScriptValue(value, raw) + ")");
}

JsonObject JsonObject::GetElementObject(int index, TextView path) {
  const Text json =
      host_ ? host_->EvalText(Stringified(Indexed(DotRuleOrName(name_, path), index))) : Text();
  JsonObject element;
  element.Parse(json);
  return element;
}

Text JsonObject::GetElementText(int index, TextView path, bool asJson) {
  if (!host_) return {};
  const Text e = Indexed(DotRuleOrName(name_, path), index);
  return host_->EvalText(asJson ? Stringified(e) : e);
}

void JsonObject::SetElement(int index, TextView value, bool raw) {
  if (!host_) return;
  host_->Eval(Indexed(name_, index) + "=" + ScriptValue(value, raw));
}

void JsonObject::RemoveAt(int index) {
  if (!host_) return;
  host_->Eval(name_ + ".splice(" + ToText(index) + ",1)");
}

void JsonObject::RemoveElement(TextView path) {
  const Text prefix = TextBefore(path, "[");
  const int index = ToInteger(TextBetween(path, "[", "]"));
  JsonObject list;
  list.Parse(GetText(prefix, true));
  list.RemoveAt(index);
  SetJson(prefix, list.ToJson());
}

void JsonObject::Reset(int kind) {
  if (!host_) return;
  if (kind == kJsonNull || kind == kJsonObject) {
    host_->Eval("var " + name_ + "={}");
  } else if (kind == kJsonArray) {
    host_->Eval("var " + name_ + "=new Array()");
  }
}

void JsonObject::SetRoot(TextView value, bool raw) {
  if (!host_) return;
  host_->Eval(name_ + "=" + ScriptValue(value, raw));
}

bool JsonObject::Exists(TextView path) {
  if (!host_) return false;
  return host_->EvalBoolean(DotRule(name_, path) + " !=null");
}

int JsonObject::GetMemberNames(TextArray& names, TextView path) {
  Text list;
  if (host_) {
    // Every enumerable member name followed by a comma, the two inherited ones included. Joined
    // once at the end: adding the names one by one to a growing string would take quadratic time
    // on a long array.
    list = host_->EvalText("var ary=[]; for (var key in " + DotRuleOrName(name_, path) +
                           ") {ary.push(key);} ary.length ? ary.join(',')+',' : undefined");
    list = ReplaceText(list, "toJSONString,");
    list = ReplaceText(list, "parseJSON,");
    host_->Eval("ary=null");
  }
  names = SplitText(list, ",");
  return static_cast<int>(names.size());
}

int JsonObject::GetType(TextView path) {
  // The dot rule turns a path that begins with "[" into "da.[...", which no engine accepts.
  if (!host_ || StartsWithBracket(path)) return kJsonOther;
  const Text kind = host_->EvalText(Text(kKindOf) + DotRuleOrName(name_, path) + ")");
  return kind.empty() ? kJsonOther : ToInteger(kind);
}

void JsonObject::Clear() {
  if (!host_) return;
  host_->Eval(name_ + "={}");
}

}  // namespace gedan
