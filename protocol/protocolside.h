#pragma once
// The protocol is built twice from the same sources: for the server
// (QEL_PROTOCOL_SERVER, classes in ns_prog720a) and for the client
// (QEL_PROTOCOL_CLIENT, the same classes without a namespace and with the
// station messages' directions swapped).
#if defined(QEL_PROTOCOL_SERVER) == defined(QEL_PROTOCOL_CLIENT)
#error "build the protocol with exactly one of QEL_PROTOCOL_SERVER and QEL_PROTOCOL_CLIENT"
#endif

#ifdef QEL_PROTOCOL_SERVER
#define QEL_PROTO_NS_BEGIN namespace ns_prog720a {
#define QEL_PROTO_NS_END }
#define QEL_PROTO_NS ns_prog720a
#define QEL_SERVER_SIDE 1
#else
#define QEL_PROTO_NS_BEGIN
#define QEL_PROTO_NS_END
#define QEL_PROTO_NS
#define QEL_SERVER_SIDE 0
#endif
