// vyrn-preview: shows artists (and us) how a level background, a shade
// pattern, an actor's picture and a message look together on the board. The
// logic lives here so that tests can run it without spawning a process.
#pragma once

#include <cstdint>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "gfx/FastImaging.h"
#include "persist/ExtraSettings.h"

class TPakFileReadable;

// Anything that stops a preview: a missing archive or entry, a picture that
// cannot be decoded, an output file that cannot be written.
class EPreviewError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

struct TPreviewOptions {
  std::string Background;   // JPEG entry of the archive, e.g. "back_simple01.jpg"
  std::int32_t Shade = 0;   // shade pattern 0..18
  std::string ImageSet;     // e.g. "evil_simple01"
  std::int32_t FirstIndex = -1;  // -1: "_00" when the archive has it, else "_01"
  // 1..3: draw the level's actors instead of the set's first picture: the
  // big enemy (ImageSet) at the centre, two small enemies of this kind,
  // both players at their trails' ends and the item Item. 0: no actors.
  std::int32_t SmallEvilKind = 0;
  std::string Item = "item_dollar01";
  TClaimedGroundLook Look = TClaimedGroundLook::Classic;
  bool HasMessage = false;
  std::string Message;
  std::string PakPath = "game.pak";
  std::string OutputPath = "preview.png";
};

// Where the preview board's unfinished trails end: player 1's, player 2's.
// The players' markers belong there.
struct TTrailHead {
  std::int32_t X, Y;
};
inline constexpr TTrailHead PreviewTrailHeads[2] = {{160, 430}, {360, 410}};

// The 600 x 550 play area: the level's starting board with one finished
// claim and an unfinished trail of each player, rendered over the background
// with the shade pattern, the set's first picture drawn with the actors'
// shaded blend at the centre, and the message in the bitmap font. Throws
// EPreviewError.
TFastImageBuffer ComposePreview(const TPakFileReadable& Pak, const TPreviewOptions& Options);

// Writes the buffer as an 8-bit RGB PNG. Throws EPreviewError.
void WriteBufferPng(const TFastImageBuffer& Buffer, const std::string& Path);

// Args without the program name. Normal output to Out, messages to Err.
// Returns the exit status: 0 written, 1 archive, entry or picture problem or
// write error, 2 usage error.
int RunPreviewTool(const std::vector<std::string>& Args, std::ostream& Out, std::ostream& Err);
