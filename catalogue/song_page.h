#pragma once

// The song list a share page embeds: a JSON array assigned to a script variable, cut out between
// "var dataFromSmarty = " and ",//当前页面歌曲信息" and parsed into a JsonObject named "da". No
// network here: the page text comes from the caller.
//
//   SongPage songs;
//   if (songs.Load(page)) {
//     for (int k = 0; k < songs.Count(); ++k) SongEntry song = songs.Entry(k);
//   }

#include "json/json_object.h"
#include "text/value.h"

namespace gedan {

struct SongEntry {
  Text hash;
  Text name;
  Text albumId;
};

// The text strictly between the two markers, untrimmed; empty when either marker is missing.
Text SongDataOf(TextView page);

class SongPage {
 public:
  // Cuts the song data out of the page and parses it; false when the page holds no song data or
  // the data is not JSON. A false load keeps nothing of an earlier one.
  bool Load(TextView page);
  // The number of elements of the parsed array.
  int Count();
  // Reads the element's hash, song_name and album_id, in that order. A missing member reads as the
  // JSON object reads it (the empty text); a number as its decimal text.
  SongEntry Entry(int index);

 private:
  JsonObject da_;
};

}  // namespace gedan
