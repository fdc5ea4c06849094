#pragma once

#include <filesystem>

#include "catalogue/GameList.h"
#include "catalogue/LoadProgress.h"
#include "catalogue/TextCodec.h"

namespace kanaroll {

// Reads MAME's -listinfo output into `games`, one TRecordset per "game (" block, appended in file
// order with listOrder counted from 0. Shows "listinfo.txtを解析中..." in status panel 0 and the wait
// cursor while it reads, and empties panels 0 to 2 at the end. Returns false when the file could not
// be read or a number in it could not be taken; the games appended before the failure stay.
//
// The catalogue's texts are in `codec`: -listinfo text is Shift-JIS and converted when `codec` is
// another (it is ASCII in practice, which is the same in every codec). A file that holds -listxml
// output instead (see ListXmlReader.h) is read as such, its UTF-8 texts converted to `codec`, and a
// malformed element fails the read as a bad number does.
bool ReadListInfo(const std::filesystem::path& file, GameList& games, LoadProgress& progress,
                  const TextCodec& codec = ShiftJisCodec());

}  // namespace kanaroll
