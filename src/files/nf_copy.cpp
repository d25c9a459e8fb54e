// The copy loop between two network files and the texts of its codes.
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "files/nf.h"

long nf_max_bytes = NF_DEFAULT_MAX_BYTES;
int nf_local_errno = 0;

namespace {

constexpr int COPY_CHUNK = 1024;

struct CodeMap {
    int from;
    int to;
};

// Open failures of the source and the destination as copy codes.
const CodeMap k_src_open[] = {{NF_NO_HOST, NFC_SRC_HOST},
                              {NF_BAD_PATH, NFC_SRC_PATH},
                              {NF_NO_FILE, NFC_SRC_MISSING},
                              {NF_DENIED, NFC_SRC_DENIED},
                              {NF_TOO_MANY, NFC_SRC_TOO_MANY}};
const CodeMap k_dst_open[] = {{NF_NO_HOST, NFC_DST_HOST},
                              {NF_BAD_PATH, NFC_DST_PATH},
                              {NF_DENIED, NFC_DST_DENIED},
                              {NF_TOO_MANY, NFC_DST_TOO_MANY}};

template <size_t N> int map_code(const CodeMap (&map)[N], int code, int other) {
    for (const CodeMap& m : map) {
        if (m.from == code)
            return m.to;
    }
    return other;
}

struct CodeText {
    long code;
    const char* text;
};

const CodeText k_texts[] = {
    {NFC_SRC_HOST, "the source host cannot be resolved"},
    {NFC_DST_HOST, "the destination host cannot be resolved"},
    {NFC_SRC_PATH, "the source path is invalid (a remote path must begin with /bfs/; "
                   "a directory or a name too long)"},
    {NFC_DST_PATH, "the destination path is invalid (a remote path must begin with /bfs/; "
                   "a directory or a name too long)"},
    {NFC_SRC_MISSING, "the source file does not exist"},
    {NFC_SRC_DENIED, "permission to read the source file is denied"},
    {NFC_DST_DENIED, "permission to write the destination file is denied"},
    {NFC_SRC_OPEN, "the source file cannot be opened (no answer, or refused by the load host)"},
    {NFC_DST_OPEN, "the destination file cannot be opened (no answer, refused by the load host, "
                   "or its folder does not exist)"},
    {NFC_SRC_TOO_MANY, "too many open files while opening the source"},
    {NFC_DST_TOO_MANY, "too many open files while opening the destination"},
    {NFC_SRC_CLOSE, "closing the source file failed"},
    {NFC_DST_CLOSE, "the destination file could not be completed (its last block or close "
                    "failed); the previous file is kept"},
    {NFC_BLOCK_LIMIT, "the file does not fit the load host's block numbers: a file must be "
                      "smaller than 65536 blocks of 512 bytes (33554432 bytes); no partial "
                      "file is kept"},
    {NFC_READ_BACK, "the file was written but reads back otherwise from the load host: the "
                    "upload failed"},
    {NFC_NO_READ_BACK, "the file was written but could not be read back from the load host"},
    {NF_NO_MEMORY, "no memory"},
    {NF_BAD_HANDLE, "a file handle of neither kind"},
    {NF_NO_HOST, "the host name or address cannot be resolved"},
    {NF_BAD_STD_MODE, "\"-\" can only be read or written"},
    {NF_BAD_PATH, "invalid path"},
    {NF_NO_FILE, "the file does not exist"},
    {NF_DENIED, "permission denied"},
    {NF_TOO_MANY, "too many open files"},
    {NF_OPEN_OTHER, "the file cannot be opened"},
    {NF_READ_FAIL, "a read failed during the copy (no answer, or the load host aborted)"},
    {NF_WRITE_FAIL, "a write failed during the copy (no answer, or the load host aborted)"},
    {NF_CLOSE_FAIL, "closing the file failed"},
    {BFS_NO_REPLY, "no answer from the load host"},
    {BFS_NO_MEMORY, "no memory for the transfer"},
    {BFS_NO_SOCKET, "no socket"},
    {BFS_NO_BIND, "the socket cannot be bound"},
    {BFS_BAD_MODE, "open mode other than r or w"},
    {BFS_PATH_LONG, "the path is too long for one call"},
    {BFS_OPEN_ABORT0, "the load host has no such file"},
    {BFS_OPEN_ABORT1, "the load host denied access"},
    {BFS_OPEN_ABORT2, "the load host refused the path"},
    {BFS_BLOCK_LIMIT, "the file needs a block number past 65535"},
    {BFS_ABORT_OTHER, "the load host aborted the transfer"},
};

} // namespace

void nf_set_timing(int timeout_secs) {
    fs_timeout = 3 * timeout_secs;
    fs_delay = fs_timeout / 4; // 0 for 1 second: the call layer waits 1 s then
}

long nfcopy(const std::string& src_host, const std::string& src_path, const std::string& dst_host,
            const std::string& dst_path, int timeout_secs) {
    return nfcopy(src_host, src_path, dst_host, dst_path, timeout_secs, NfProgress());
}

namespace {

// Refuses, before anything is sent or written, a local source that is too
// large for the size bound or (going to a load host) for the block numbers.
long check_source_size(const NfHandle* src, bool remote_dst) {
    struct stat st {};
    if (src->kind != NF_LOCAL || src->std_stream || fstat(fileno(src->fp), &st) != 0)
        return 0;
    if (remote_dst && st.st_size >= BFS_FILE_LIMIT)
        return NFC_BLOCK_LIMIT;
    return st.st_size > nf_max_bytes ? NFC_SIZE_BOUND : 0;
}

// The copy code of a failed read or write of handle h.
long transfer_failure(const NfHandle* h, int nf_code) {
    if (h->kind == NF_REMOTE && h->bfs->last_code == BFS_BLOCK_LIMIT)
        return NFC_BLOCK_LIMIT;
    if (h->kind == NF_LOCAL && nf_code == NF_WRITE_FAIL)
        return NFC_LOCAL_WRITE;
    return nf_code;
}

// Moves the data: 0 or a copy code; *total counts the bytes and *sent,
// when given, keeps them.
long copy_data(NfHandle* src, NfHandle* dst, long* total, const NfProgress& progress,
               std::string* sent) {
    uint8_t buf[COPY_CHUNK];
    bool remote_dst = dst->kind == NF_REMOTE;
    for (;;) {
        int n = nfread(src, buf, sizeof buf);
        if (n < 0)
            return transfer_failure(src, NF_READ_FAIL);
        if (n == 0)
            return 0;
        if (*total + n > nf_max_bytes)
            return NFC_SIZE_BOUND;
        if (remote_dst && *total + n >= BFS_FILE_LIMIT)
            return NFC_BLOCK_LIMIT; // a stream source: refused at the last block
        int rc = nfwrite(dst, buf, n);
        if (rc != 0)
            return transfer_failure(dst, rc);
        if (sent)
            sent->append(reinterpret_cast<const char*>(buf), static_cast<size_t>(n));
        *total += n;
        if (progress) {
            const NfHandle* remote = src->kind == NF_REMOTE ? src : dst;
            progress(*total, remote->kind == NF_REMOTE ? remote->bfs->blocks : 0);
        }
    }
}

long copy_files(const std::string& src_host, const std::string& src_path,
                const std::string& dst_host, const std::string& dst_path, int timeout_secs,
                const NfProgress& progress, std::string* sent) {
    nf_set_timing(timeout_secs);
    int code = 0;
    NfHandle* src = nfopen(src_host, src_path, "r", &code);
    if (!src)
        return map_code(k_src_open, code, NFC_SRC_OPEN);
    if (long too_big = check_source_size(src, !dst_host.empty())) {
        nfclose(src);
        return too_big;
    }
    NfHandle* dst = nfopen(dst_host, dst_path, "w", &code);
    if (!dst) {
        nfclose(src);
        return map_code(k_dst_open, code, NFC_DST_OPEN);
    }
    long total = 0;
    long error = copy_data(src, dst, &total, progress, sent);
    if (nfclose(src) != 0 && error == 0)
        error = NFC_SRC_CLOSE;
    if (error != 0)
        nfdiscard(dst); // a failed copy never replaces the destination
    else if (nfclose(dst) != 0)
        error = dst_host.empty() ? NFC_LOCAL_WRITE : NFC_DST_CLOSE;
    return error != 0 ? error : total;
}

} // namespace

long nfcopy(const std::string& src_host, const std::string& src_path, const std::string& dst_host,
            const std::string& dst_path, int timeout_secs, const NfProgress& progress) {
    return copy_files(src_host, src_path, dst_host, dst_path, timeout_secs, progress, nullptr);
}

long nf_fetch(const std::string& host, const std::string& path, int timeout_secs,
              std::string* out) {
    nf_set_timing(timeout_secs);
    out->clear();
    int code = 0;
    NfHandle* h = nfopen(host, path, "r", &code);
    if (!h)
        return map_code(k_src_open, code, NFC_SRC_OPEN);
    long error = 0;
    char buf[COPY_CHUNK];
    for (int n; error == 0 && (n = nfread(h, buf, sizeof buf)) != 0;) {
        if (n < 0)
            error = transfer_failure(h, NF_READ_FAIL);
        else if (static_cast<long>(out->size()) + n > nf_max_bytes)
            error = NFC_SIZE_BOUND;
        else
            out->append(buf, static_cast<size_t>(n));
    }
    if (nfclose(h) != 0 && error == 0)
        error = NFC_SRC_CLOSE;
    return error != 0 ? error : static_cast<long>(out->size());
}

long nf_put_checked(const std::string& src_path, const std::string& dst_host,
                    const std::string& dst_path, int timeout_secs, const NfProgress& progress,
                    std::string* text) {
    std::string sent, back;
    long result = copy_files("", src_path, dst_host, dst_path, timeout_secs, progress, &sent);
    long fetched = result >= 0 ? nf_fetch(dst_host, dst_path, timeout_secs, &back) : 0;
    if (fetched < 0)
        result = NFC_NO_READ_BACK;
    else if (result >= 0 && back != sent)
        result = NFC_READ_BACK;
    *text = nf_result_text(result);
    if (fetched < 0)
        *text += " (" + nf_code_text(fetched) + ")";
    return result;
}

bool nf_set_max_bytes(const std::string& text) {
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != text.npos)
        return false;
    long v = std::stol(text);
    if (v < 1 || v > NF_MAX_BYTES_LIMIT)
        return false;
    nf_max_bytes = v;
    return true;
}

std::string nf_code_text(long code) {
    if (code == NFC_SIZE_BOUND)
        return "the copy passed the size bound of " + std::to_string(nf_max_bytes) +
               " bytes (-fsmax); no partial file is kept";
    if (code == NFC_LOCAL_WRITE)
        return std::string("the local file could not be written: ") +
               (nf_local_errno ? strerror(nf_local_errno) : "write error") +
               "; the previous file is kept";
    for (const CodeText& t : k_texts) {
        if (t.code == code)
            return t.text;
    }
    if (code >= -32 && code <= -1)
        return "the remote transfer failed";
    return "unknown failure";
}

std::string nf_result_text(long result) {
    if (result >= 0)
        return std::to_string(result) + " bytes copied";
    return std::to_string(result) + ": " + nf_code_text(result);
}

long nf_copy_report(const std::string& src_host, const std::string& src_path,
                    const std::string& dst_host, const std::string& dst_path, int timeout_secs,
                    const NfProgress& progress, std::string* text) {
    long result = nfcopy(src_host, src_path, dst_host, dst_path, timeout_secs, progress);
    *text = nf_result_text(result);
    return result;
}

std::string nf_progress_text(long bytes, long blocks) {
    return std::to_string(bytes) + " bytes, " + std::to_string(blocks) + " blocks";
}
