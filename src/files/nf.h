// Network files: one handle type for local files and files on a load
// host's remote file service, a copy loop between any two of them, and the
// result codes that callers turn into messages. Nothing here talks to the
// operator.
#pragma once

#include <netinet/in.h>

#include <cstdio>
#include <functional>
#include <string>

#include "files/bfs.h"

// Network file codes (nfopen and the per-handle calls); a remote open
// failure passes its transfer code (-1 .. -16) on unchanged.
enum NfCode {
    NF_NO_MEMORY = -100,
    NF_BAD_HANDLE = -101,
    NF_NO_HOST = -200,
    NF_BAD_STD_MODE = -201, // "-" with a mode other than "r" or "w"
    NF_BAD_PATH = -202,     // remote path not under "/bfs/" or too long; a directory
    NF_NO_FILE = -203,
    NF_DENIED = -204,
    NF_TOO_MANY = -205,
    NF_OPEN_OTHER = -210,
    NF_READ_FAIL = -220,
    NF_WRITE_FAIL = -230,
    NF_CLOSE_FAIL = -240
};

// Copy codes (nfcopy); a non-negative result is the byte count.
enum NfCopyCode {
    NFC_SRC_HOST = -300,
    NFC_DST_HOST = -301,
    NFC_SRC_PATH = -302,
    NFC_DST_PATH = -303,
    NFC_SRC_MISSING = -304,
    NFC_SRC_DENIED = -305,
    NFC_DST_DENIED = -306,
    NFC_SRC_OPEN = -307,
    NFC_DST_OPEN = -308,
    NFC_SRC_TOO_MANY = -309,
    NFC_DST_TOO_MANY = -310,
    NFC_SRC_CLOSE = -311,
    NFC_DST_CLOSE = -312,
    NFC_BLOCK_LIMIT = -313, // the file does not fit the service's 16-bit block numbers
    NFC_SIZE_BOUND = -314,  // the copy passed nf_max_bytes
    NFC_LOCAL_WRITE = -315, // the local destination could not be written (nf_local_errno)
    NFC_READ_BACK = -316,   // written, but the file reads back otherwise
    NFC_NO_READ_BACK = -317 // written, but the file could not be read back
};

// The size bound of every copy, a setting of the run (gui_mm and mm_cli
// take -fsmax BYTES). A copy that would pass it stops with -314 and leaves
// no partial file. The default is far above any configuration or modem
// file and below the service's block limit.
constexpr long NF_DEFAULT_MAX_BYTES = 16L * 1024 * 1024;
constexpr long NF_MAX_BYTES_LIMIT = 1024L * 1024 * 1024;
extern long nf_max_bytes;
// Sets nf_max_bytes from a decimal text of 1 to NF_MAX_BYTES_LIMIT bytes;
// false (nothing changed) for anything else.
bool nf_set_max_bytes(const std::string& text);
// The system error of the last local write or close failure (-315).
extern int nf_local_errno;

constexpr const char* NF_REMOTE_PREFIX = "/bfs/";

enum NfKind { NF_LOCAL = 1, NF_REMOTE = 2 };

struct NfHandle {
    int kind = 0;
    FILE* fp = nullptr;       // local
    bool std_stream = false;  // standard input or output: not closed
    std::string final_path;   // local write: where the file goes at close
    std::string tmp_path;     // local write: the new content until then
    int error = 0;            // local: errno of the first failed write
    BfsHandle* bfs = nullptr; // remote
    in_addr addr{};           // the resolved server address
};

// The IPv4 address of a host (dotted or a name), or 0.
in_addr_t determine_inet_address(const std::string& host);

// Opens host:path ("" host: a local file, "-" standard input or output) for
// "r" or "w". A local file opened for "w" is written to a new file beside
// it that replaces it only at a successful nfclose; a link at the path is
// replaced itself, never written through. A local file other than a regular
// one (a FIFO, a device, a directory) is refused with -202 (except "-").
NfHandle* nfopen(const std::string& host, const std::string& path, const char* mode, int* code);
// Bytes read (0 at the end) or -220 / -101.
int nfread(NfHandle* h, void* buf, int size);
// 0 or -230 / -101.
int nfwrite(NfHandle* h, const void* buf, int size);
// Closes and frees the handle: 0, -240 (also for a remote file whose final
// block or close failed) or -101.
int nfclose(NfHandle* h);
// Closes and frees a handle whose content is not wanted: a local new file
// is removed (the old one stays), a remote write is released unfinished.
void nfdiscard(NfHandle* h);

// Progress of a copy: bytes so far and block calls answered so far.
using NfProgress = std::function<void(long bytes, long blocks)>;

// Copies a whole file; "" host means local. Bytes copied or a copy code.
long nfcopy(const std::string& src_host, const std::string& src_path, const std::string& dst_host,
            const std::string& dst_path, int timeout_secs);
long nfcopy(const std::string& src_host, const std::string& src_path, const std::string& dst_host,
            const std::string& dst_path, int timeout_secs, const NfProgress& progress);
// Sets fs_timeout and fs_delay for a caller's time-out in seconds.
void nf_set_timing(int timeout_secs);

// One line explaining a copy, network file or transfer code.
std::string nf_code_text(long code);
// The result of a copy as one line: "N bytes copied" or "CODE: explanation".
std::string nf_result_text(long result);
// The whole copy for a terminal verb: the nfcopy result, with *text set to
// nf_result_text of it.
long nf_copy_report(const std::string& src_host, const std::string& src_path,
                    const std::string& dst_host, const std::string& dst_path, int timeout_secs,
                    const NfProgress& progress, std::string* text);
// The same for an upload, which is then read back from the load host and
// compared byte for byte with what was sent: the byte count, a copy code,
// -316 when the file reads back otherwise or -317 (with the reason in
// *text) when it cannot be read back.
long nf_put_checked(const std::string& src_path, const std::string& dst_host,
                    const std::string& dst_path, int timeout_secs, const NfProgress& progress,
                    std::string* text);
// Reads a whole file (at most nf_max_bytes) into *out: bytes read or a copy
// code of its source side.
long nf_fetch(const std::string& host, const std::string& path, int timeout_secs, std::string* out);
// "N bytes, M blocks", the progress line of a long transfer.
std::string nf_progress_text(long bytes, long blocks);
