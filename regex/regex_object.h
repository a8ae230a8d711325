#pragma once

// A regular expression run over a subject text, with access to its matches and their groups,
// both numbered from 1.
//
//   RegexObject re;
//   if (re.Match("<meta.+?charset=[^\\w]?([-\\w]+)", TextLeft(page, 1024)))
//     charset = re.SubMatchText(1, 1);  // empty when nothing matched
//
// Match() is true whenever the engine ran, also when nothing matched; MatchCount() tells.

#include <memory>

#include "text/value.h"

namespace gedan {

class RegexObject {
 public:
  RegexObject();
  ~RegexObject();
  // The copy shares the compiled pattern and the matches of the object it was copied from.
  RegexObject(const RegexObject& other);
  RegexObject& operator=(const RegexObject& other);

  // Runs `pattern` over `subject`. Letter case is ignored unless caseSensitive; ^ and $ match at
  // line breaks when multiline; every match is collected when global, else the first one only.
  // With quoteMarker, each "#引号" in the pattern stands for a double quote. False only when the
  // pattern is rejected.
  bool Match(TextView pattern, TextView subject, bool caseSensitive = false, bool multiline = true,
             bool global = true, bool quoteMarker = false);
  // The pattern of the last Match, with quote markers already replaced; empty before any Match.
  Text GetPattern() const;
  // The last subject with the matches replaced (all of them when global, else the first); "$1"
  // and the like in `replacement` stand for groups.
  Text ReplaceMatches(TextView replacement = {}) const;
  int MatchCount() const;
  // Text of match `index`; empty when there is none. `position` receives the 0-based byte offset of
  // the match in the subject.
  Text MatchText(int index, int* position = nullptr) const;
  // Text of group `groupIndex` of match `matchIndex`; empty when either is missing or the group
  // took no part in the match (then `position` receives -1).
  Text SubMatchText(int matchIndex, int groupIndex, int* position = nullptr) const;
  // Number of groups in the pattern, read from the first match; 0 when nothing matched.
  int SubMatchCount() const;

 private:
  struct State;
  std::shared_ptr<State> state_;
};

}  // namespace gedan
