// The lower two layers of the remote file protocol, shared by the client
// and the simulated load host:
//
//   datagrams: api_sendmsg / api_recvmsg over kalo_sendmsg / kalo_recvmsg,
//              gathering memory areas into one datagram and scattering one
//              datagram into areas;
//   calls:     erpc_callresp / erpc_call / send_call, a request/response
//              protocol with transaction ids, retransmission and reply
//              matching; erpc_return / erpc_reject / erpc_abort build the
//              service's replies.
//
// Every field is big-endian; 32-bit fields travel as two 16-bit halves.
#pragma once

#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/uio.h>

#include <cstddef>
#include <cstdint>
#include <string>

// ---- Message layout ----------------------------------------------------------

constexpr size_t ERPC_MSG_MAX = 2048; // largest datagram sent or received
constexpr size_t ERPC_CALL_HDR = 18;  // id, class, type, 0, program, version, procedure
constexpr size_t ERPC_REPLY_HDR = 10; // id, class, type, 0
constexpr size_t ERPC_RECV_HDR = 6;   // what the call layer keeps of a reply: id, class

enum ErpcClass { ERPC_CLASS_CALL = 0x0020, ERPC_CLASS_REPLY = 0x0021 };
enum ErpcType { ERPC_CALL = 0, ERPC_REJECT = 1, ERPC_RETURN = 2, ERPC_ABORT = 3 };
// Reject reasons a service gives.
enum ErpcReject { ERPC_REJ_PROGRAM = 0, ERPC_REJ_VERSION = 1, ERPC_REJ_PROCEDURE = 2 };

unsigned get_short(const uint8_t* p);
void set_short(uint8_t* p, unsigned v);
uint32_t get_long(const uint8_t* p);
void set_long(uint8_t* p, uint32_t v);

// ---- Datagrams -----------------------------------------------------------------

// Gathers msg's areas (msg_iov) into one datagram to msg_name. Bytes sent,
// or -1 (also when the areas exceed ERPC_MSG_MAX).
int kalo_sendmsg(int sock, const msghdr* msg, int flags);
// Receives one datagram of up to ERPC_MSG_MAX bytes (sender into msg_name
// when given) and scatters it over the areas in order. The part of an area
// that the datagram does not reach is zeroed, so no area ever holds bytes
// the datagram did not carry. Bytes received, or -1.
int kalo_recvmsg(int sock, msghdr* msg, int flags);
// The same, writing "<caller>:sendmsg failed" / "recvfrom Failed:" with the
// system error on standard error when the socket fails; trace non-zero
// also writes the length of every datagram.
int api_sendmsg(int sock, const msghdr* msg, const char* caller, int trace);
int api_recvmsg(int sock, msghdr* msg, const char* caller, int trace);

// ---- Calls ---------------------------------------------------------------------

// Area lists: element 0 is left free for the call layer, which puts the
// 18-byte call header there when sending and the 6-byte id/class there when
// receiving; n areas therefore take n + 1 elements.
//
// Sends one call message and does not wait. 0, or -1 when it was not sent.
int send_call(int sock, const sockaddr_in* server, uint32_t id, uint32_t program, unsigned version,
              unsigned procedure, int argc, iovec* args);
int erpc_call(int sock, const sockaddr_in* server, uint32_t id, uint32_t program, unsigned version,
              unsigned procedure, int argc, iovec* args);

// Datagrams a caller received and dropped while waiting for its replies.
struct ErpcDrops {
    long foreign = 0; // from an address other than the one the call went to
    long stray = 0;   // from that address, but shorter than 6 bytes, with
                      // another call id or not of the reply class
};

// Sends the call (unless *already_sent, which is then cleared), waits up to
// `wait` seconds for a reply with this id and the reply class, and sends
// again until `total` seconds are used up. A wait of 0 counts as 1 second,
// so the loop always ends. A reply is taken only from the address the call
// went to: datagrams from any other address, and datagrams with another id
// or class or shorter than 6 bytes, are dropped (counted in *drops when
// given) without ending the wait or extending it. A matching reply may come
// from another port of that address, which then becomes the port of
// *server. Returns the reply bytes after the first 6 (scattered into
// res[1..resc]) or -1.
int erpc_callresp(int sock, sockaddr_in* server, uint32_t id, uint32_t program, unsigned version,
                  unsigned procedure, int argc, iovec* args, int wait, int total, int resc,
                  iovec* res, int* already_sent, ErpcDrops* drops = nullptr);
// The first call id of a transfer: unpredictable, so that a host that did
// not see the call cannot answer it.
uint32_t erpc_first_id();

// ---- Service side ----------------------------------------------------------------

// A decoded call header.
struct ErpcCallHdr {
    uint32_t id = 0;
    uint32_t program = 0;
    unsigned version = 0;
    unsigned procedure = 0;
};
// 0 when data is a call message (class 0x0020, type 0, at least 18 bytes).
int erpc_parse_call(const uint8_t* data, size_t len, ErpcCallHdr* hdr);
// Reply messages: the common header then the results / code / reason.
std::string erpc_return(uint32_t id, const std::string& results);
std::string erpc_abort(uint32_t id, unsigned code);
// Reason 1 (other version) carries the lowest and highest version served.
std::string erpc_reject(uint32_t id, unsigned reason, unsigned low = 0, unsigned high = 0);
// Big-endian 16-bit values as bytes.
std::string erpc_u16(unsigned v);
