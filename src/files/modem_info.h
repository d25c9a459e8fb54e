// Modem information of the chosen devices: where their configuration
// file lives, the local copies of it and of its modem include files (in a
// private temporary folder), the two definition lists, Apply (rewrite,
// upload, reset question), the modem resets and the close.
//
// The commands (mdm_load, mdm_apply, modem_resets) take the devices and
// return an MdmOutcome (modem_view.h). The basic-mode windows that host the
// Edit Modem dialog (the async port window and the basic dial window) call
// the entry points that render it:
//   mdm_set_window(MW_ASYNC, <modem type of the port form>, <option menu id>,
//                  <selected async ports>)       // or MW_BASIC_DIAL, "", 0, {}
//   int available = mdm_init(<window form id>);  // 0: switch modem controls off
//   ... mdm_edit_act(<form id>, <name>) opens the dialog (modem_dialog.h) ...
//   mdm_apply_act(<form id>) on the window's Apply,
//   mdm_close_act(0) when the window closes.
// The dialog's buttons reach the dialog's commands through the dispatch.
#pragma once

#include <string>
#include <vector>

#include "files/modem_cfg.h"
#include "files/modem_view.h"

struct MorixRecord;

enum MdmWindowKind { MW_NONE = 0, MW_ASYNC = 1, MW_BASIC_DIAL = 2 };
constexpr const char* MDM_UNDEFINED = "<Undefined>";
constexpr int EDIT_ALLOWED = 9;

struct MdmInfo {
    int window = MW_NONE;
    std::string async_name;  // the modem type of the async port form
    int opt_menu_id = 0;     // the async port window's modem type menu (basic table)
    std::vector<int> ports;  // the async ports chosen in that window
    std::string cfg_fil_adr; // load host
    std::string cfg_fil_nam; // file name on the load host
    std::string local_dir;   // private folder of the local copies
    std::string local_cfg;   // local copy of the configuration file
    std::string fetched_cfg; // the configuration file as fetched (or last written)
    std::vector<std::string> inc_names, inc_local;
    ModemList cfg_list; // cfg_fil_mdm_list
    ModemList db_list;  // mdm_db_list
    std::string org_mdm_typ_prm;
    int cfg_fil_upd_flag = 0;
    int mdm_typ_upd_flag = 0;
    int edit_allowed = EDIT_ALLOWED;   // result of the last permission check
    std::string edit_reason;           // its reason text when refused
    int port_form_edited = 0;          // the async port form must be applied again
    std::vector<MorixRecord*> devices; // the devices of the last load
};
extern MdmInfo mdm_info;

// Which window the modem functions serve, before mdm_init.
void mdm_set_window(int kind, const std::string& async_name, int opt_menu_id,
                    const std::vector<int>& ports);

// The local file name for a name on the load host: its last "/" component
// with every character other than letters, digits, '.', '_' and '-' made
// '_' ("cfg" when nothing usable is left, never "." or "..").
std::string mdm_local_name(const std::string& remote_name);

// Reads the three location variables from every device: true, or false
// with the warnings and the devices that failed in out.
bool get_cfg_fil_info(const std::vector<MorixRecord*>& devices, Outcome* out);
// Fetches and parses everything for devices (every one listed in the
// outcome with its result); the result is done when the modem information
// is available. parent: the window the outcome is shown over.
MdmOutcome mdm_load(const std::vector<MorixRecord*>& devices, int parent);
// mdm_load for the selected reachable devices, rendered over parent: 1 when
// the modem information is available.
int mdm_init(int parent);
// The entries of the async port window's option menu and the one chosen.
std::vector<std::string> mdm_opt_entries(const std::string& current, std::string* chosen);
// Apply: the changed configuration list written into the local copy and
// uploaded (mdm_checked_upload), the information loaded again; when
// anything changed, the outcome carries the follow-up "modem-reset" (the
// question whether to run modem_resets now).
MdmOutcome mdm_apply(int parent);
// Apply of a modem-aware window: mdm_apply rendered, its reset question
// asked through the front end's Asker: 1 on success (or nothing to do).
int mdm_apply_act(int parent);
// The follow-up kind of mdm_apply's reset question.
constexpr const char* MDM_RESET_FOLLOW_UP = "modem-reset";
// The copy-back failure warning into out; -230 keeps the local copy.
void mdm_bfs_error(long code, const std::string& local, const std::string& remote,
                   const std::string& host, Outcome* out);
// Keeps the local copy of the configuration file (and its folder) for the
// operator after a failed upload: no close or signal removes it.
void keep_local_copy();
// Reads a local file of at most nf_max_bytes whole; false on failure.
bool read_local_file(const std::string& path, std::string* out);

// Results of mdm_checked_upload besides the copy codes of nf.h.
enum UploadCheck {
    UPL_CHANGED = -400,   // the load host's file is no longer the one fetched
    UPL_NOT_READ = -401,  // the load host's file could not be read again first
    UPL_READ_BACK = -402, // the upload does not read back as it was written
    UPL_NO_ACCESS = -403  // the operator may not change files (the access rule)
};
// Writes the local copy back to the load host safely: the file is fetched
// again and compared with the copy fetched at the start (nothing is written
// when it changed), uploaded, then fetched back and compared byte for byte.
// Every failure is a warning in out and keeps the local copy. The byte
// count, or a copy code (nf.h) or UploadCheck code.
long mdm_checked_upload(Outcome* out);
// Modem subsystem reset, then the chosen async ports, on the selected
// reachable devices (each listed with its result).
MdmOutcome modem_resets(int parent);
// Releases the lists and removes the local copies (the configuration copy
// stays for code -230 or an emptied cfg_fil_nam).
void mdm_close_act(long code);
// Copies source to destination in-process (no program is run); removes
// the source when the copy succeeded or flag is 1. 0 or -12.
int move_file(const std::string& source, const std::string& destination, int flag);
// The remote path of a load host file.
inline std::string mdm_remote_path(const std::string& name) {
    return "/bfs/" + name;
}
