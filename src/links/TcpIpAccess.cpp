#include "links/TcpIpAccess.h"

#include "core/Errors.h"

namespace lumetra {

// No instrument-server connection can be opened yet, so every transaction finds the
// link unconnected.
Byte TcpTransaction(Byte&, Byte, Byte&, TFrameBuffer&) { return Result::NoTcpIpConnection; }

} // namespace lumetra
