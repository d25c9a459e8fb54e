// Writing the configuration file back without overwriting someone else's
// edit: the load host's file is fetched again and must still be the one
// fetched at the start; after the upload it is fetched back and must be
// what was written.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files/modem_info.h"
#include "files/nf.h"
#include "snmp_access/session.h"
#include "ui/access.h"
#include "ui/app_globals.h"

namespace {

// The load host's current file, fetched into the private folder.
long fetch_current(const std::string& remote, std::string* content) {
    std::string check = mdm_info.local_dir + "/check.cfg";
    long rc =
        nfcopy(mdm_info.cfg_fil_adr, remote, "", check, session().snmp_defaults().timeout_secs);
    if (rc >= 0 && !read_local_file(check, content))
        rc = NF_READ_FAIL;
    unlink(check.c_str());
    return rc;
}

// Tells the operator, keeps the edit and names where it is.
void refuse(Outcome* out, const std::string& what) {
    keep_local_copy();
    mdm_info.cfg_fil_nam.clear(); // the close keeps the local copy too
    out->result = Result::failed;
    out->warnings.push_back(what + "\n\nYour changes are kept in\n'" + mdm_info.local_cfg + "'.");
}

} // namespace

bool read_local_file(const std::string& path, std::string* out) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= nf_max_bytes;
    out->clear();
    char buf[8192];
    while (ok) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        out->append(buf, static_cast<size_t>(n));
        ok = static_cast<long>(out->size()) <= nf_max_bytes;
    }
    ::close(fd);
    return ok;
}

long mdm_checked_upload(Outcome* out) {
    const std::string remote = mdm_remote_path(mdm_info.cfg_fil_nam);
    const std::string host = mdm_info.cfg_fil_adr;
    const std::string where = "The configuration file " + remote + " on " + host;
    if (!g_may_change) {
        refuse(out, std::string(MSG_NO_ACCESS) + "\nNothing was written.");
        return UPL_NO_ACCESS;
    }
    std::string now, mine;
    long rc = fetch_current(remote, &now);
    if (rc < 0) {
        refuse(out, where + "\ncould not be read again before writing it back (" +
                        nf_result_text(rc) + ").\nNothing was written.");
        return UPL_NOT_READ;
    }
    if (now != mdm_info.fetched_cfg) {
        refuse(out, where + "\nchanged since it was fetched.\nNothing was written.");
        return UPL_CHANGED;
    }
    if (!read_local_file(mdm_info.local_cfg, &mine)) {
        refuse(out, "The local copy of " + remote + " could not be read.\nNothing was written.");
        return NF_READ_FAIL;
    }
    rc = nfcopy("", mdm_info.local_cfg, host, remote, session().snmp_defaults().timeout_secs);
    if (rc < 1) {
        mdm_bfs_error(rc, mdm_info.local_cfg, remote, host, out);
        return rc;
    }
    long back = fetch_current(remote, &now);
    if (back < 0 || now != mine) {
        refuse(out, where + "\ndoes not read back as it was written: the upload failed." +
                        (back < 0 ? "\n(" + nf_result_text(back) + ")" : std::string()));
        return UPL_READ_BACK;
    }
    mdm_info.fetched_cfg = mine;
    return rc;
}
