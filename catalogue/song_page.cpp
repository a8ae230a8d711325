#include "catalogue/song_page.h"

#include "text/encoding.h"
#include "text/markers.h"
#include "text/numbers.h"

namespace gedan {
namespace {

const Text& StartMarker() {
  static const Text marker = "var dataFromSmarty = ";
  return marker;
}

const Text& EndMarker() {
  static const Text marker = Utf8ToAnsi(",//当前页面歌曲信息");
  return marker;
}

}  // namespace

Text SongDataOf(TextView page) {
  return TextBetween(page, StartMarker(), EndMarker());
}

bool SongPage::Load(TextView page) {
  return da_.Parse(SongDataOf(page));
}

int SongPage::Count() {
  TextArray names;
  return da_.GetMemberNames(names);
}

SongEntry SongPage::Entry(int index) {
  // The paths are written exactly so ("[k].hash", "[k]['song_name']"): the object pastes them into
  // a script expression after its variable name.
  const Text k = ToText(index);
  SongEntry song;
  song.hash = da_.GetText("[" + k + "].hash");
  song.name = da_.GetText("[" + k + "]['song_name']");
  song.albumId = da_.GetText("[" + k + "]['album_id']");
  return song;
}

}  // namespace gedan
