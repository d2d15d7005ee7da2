#pragma once
// The TCP/IP instrument-server link as the Halvo protocol uses it: one request frame
// out, one answer frame back.

#include "core/BasicTypes.h"
#include "links/InstrumentAdapter.h"

namespace lumetra {

// Sends the first `length` bytes of `buffer` with the command flag when `flag` is 1 and
// reads one answer: the buffer then holds its payload, `answerLength` its length and
// `flag` its command flag. 0 success; 3 no answer in time; 4 faulty frame; 18 no
// connection to an instrument server, or a length outside 1..128.
[[nodiscard]] Byte TcpTransaction(Byte& flag, Byte length, Byte& answerLength, TFrameBuffer& buffer);

} // namespace lumetra
