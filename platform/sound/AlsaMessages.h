// ALSA's library reports every step of a failed device search on standard error ("ALSA lib
// confmisc.c:855:(parse_card) cannot find card '0'" and seven more lines on a machine without a
// sound card), before SDL gives up on the device and the stream says in one line that it plays
// silently. Those lines mean nothing to a viewer.
//
// SDL loads libasound.so.2 itself when its ALSA driver starts. Loading the same library first and
// giving it a handler that discards its messages (snd_lib_error_set_handler, ALSA's own means for
// this) quiets exactly that library: SDL gets the same loaded copy. The library stays loaded to
// the end of the process so the handler stays in place. Without libasound there is nothing to do.
#pragma once

namespace sound {

// True when ALSA's messages are now discarded; false when the library is not there.
bool discardAlsaMessages();

}  // namespace sound
