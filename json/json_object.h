#pragma once

// A JSON document held in an embedded JavaScript engine and queried by path.
//
// A path is the rest of a JavaScript member expression after the variable name, such as
// "data['play_url']" or "[3].hash".
//
//   JsonObject da;                                 // variable "da"
//   if (da.Parse(songData)) {                      // JSON only; nothing in the text is run
//     TextArray names;
//     int n = da.GetMemberNames(names);            // element count of the root array
//     Text hash = da.GetText("[0].hash");
//   }
//
// Texts cross into the engine as UTF-8 and come back as internal text. Operations the engine
// rejects yield the zero value of their result (empty text, 0, false) and change nothing.

#include <memory>

#include "text/value.h"

namespace gedan {

class ScriptHost;

// Result of GetType.
enum JsonKind : int {
  kJsonNull = 0,  // null or undefined
  kJsonBoolean = 1,
  kJsonNumber = 2,
  kJsonObject = 4,
  kJsonArray = 5,
  kJsonString = 6,
  kJsonOther = -1,  // anything else, including a path the engine rejects
};

class JsonObject {
 public:
  JsonObject();  // name "da", then Init()
  ~JsonObject();
  // The copy shares the engine, and so the document, with `other`.
  JsonObject(const JsonObject& other);
  JsonObject& operator=(const JsonObject& other);

  void Init();
  bool Parse(TextView text);
  Text ToJson();
  void SetText(TextView path, TextView value, bool asJson = false);
  void SetJson(TextView path, TextView json);
  void SetNumber(TextView path, double value);
  double GetNumber(TextView path);
  Text GetJson(TextView path);
  Text GetText(TextView path, bool asJson = false);
  JsonObject GetObject(TextView path);
  int GetCount(TextView path = {});
  void Append(TextView value, TextView path = {}, bool raw = false);
  JsonObject GetElementObject(int index, TextView path = {});
  Text GetElementText(int index, TextView path = {}, bool asJson = false);
  void SetElement(int index, TextView value, bool raw = false);
  void RemoveAt(int index);
  void RemoveElement(TextView path);
  void Reset(int kind);
  void SetRoot(TextView value, bool raw = false);
  bool Exists(TextView path);
  // Replaces `names` by the member names at `path` and returns their number.
  int GetMemberNames(TextArray& names, TextView path = {});
  int GetType(TextView path = {});
  void Clear();

 private:
  Text name_;
  std::shared_ptr<ScriptHost> host_;
};

}  // namespace gedan
