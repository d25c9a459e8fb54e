// The Boot dialog: the current boot parameters of the selected devices,
// the boot options and the two SET passes of a boot.
#include <cstdlib>
#include <memory>

#include "catalogue/mib_catalogue.h"
#include "devices/allow_sets.h"
#include "devices/long_op.h"
#include "devices/mrx_select.h"
#include "devices/text_buf.h"
#include "ops/control.h"
#include "snmp_access/port_inst.h"
#include "snmp_access/snmp_engine.h"
#include "ui/ui.h"
#include "ui/widget_ids.h"

int boot_ind = 1;

namespace {

// Whether the flash options are offered to the devices of the dialog.
bool flash_offered = false;

constexpr const char* MSG_NO_REFS =
    "Could not find internal references to a parameter group or parameter. Software error.";
constexpr const char* MSG_UNCOMMON =
    "One or more boot parameters could not be obtained or had\ndifferent values. The current "
    "load address, dump address, and default image name for\neach Morix will be used if you do "
    "not enter new values.";

enum BootGet { BG_LOAD, BG_DUMP, BG_GW, BG_SEQ, BG_IMAGE, BG_FLASH, BG_COUNT };
const char* const boot_get_vars[BG_COUNT] = {"mrxPrefLoadAddr",    "mrxPrefDumpAddr",
                                             "mrxLoadDumpGateway", "mrxLoadDumpSeq",
                                             "imageName",          "flashSize"};

// The fields in boot_set_vars order and how each value is taken.
enum FieldKind { FK_ADDR, FK_TIME, FK_ALWAYS };
struct BootField {
    int id;
    const char* var;
    FieldKind kind;
    const char* label;
};
const BootField boot_fields[BOOT_FIELDS] = {
    {W_BOOT_LOAD_TF, "mrxPrefLoadAddr", FK_ADDR, "Pref Load Addr"},
    {W_BOOT_DUMP_TF, "mrxPrefDumpAddr", FK_ADDR, "Pref Dump Addr"},
    {W_BOOT_GW_TF, "mrxLoadDumpGateway", FK_ADDR, "Load/Dump Gateway"},
    {W_BOOT_IMAGE_TF, "mrxcBootImage", FK_ALWAYS, ""},
    {W_BOOT_TIME_TF, "mrxcBootTime", FK_TIME, ""},
    {W_BOOT_MSG_TF, "mrxcBootMsg", FK_ALWAYS, ""}};

// Editable fields per option: load, dump, gateway, image, time, message.
// Boots that load from the host take the host fields and the image; only
// a timed boot takes a time; cancelling a timed boot, booting from flash
// and shutting down take only the message to the users.
const bool boot_field_table[BOOT_OPTIONS][BOOT_FIELDS] = {
    {1, 1, 1, 1, 0, 1}, // 1 boot now
    {1, 1, 1, 1, 1, 1}, // 2 timed boot
    {0, 0, 0, 0, 0, 1}, // 3 cancel a timed boot
    {1, 1, 1, 1, 0, 1}, // 4 dump and boot
    {0, 0, 0, 0, 0, 1}, // 5 boot from flash
    {1, 0, 1, 1, 0, 1}, // 6 load the image into flash
    {0, 0, 0, 0, 0, 1}, // 7 shut down
};
// Options that need flash memory and a load over the network.
bool is_flash_option(int option) {
    return option == 5 || option == 6;
}

// Load, dump and gateway as the dialog was filled.
std::string kept_copy[3];

void apply_option_fields() {
    for (int f = 0; f < BOOT_FIELDS; ++f)
        ui_set_sensitive(boot_fields[f].id, boot_field_enabled(boot_ind, f));
}

void select_option(int option) {
    boot_ind = option;
    for (int o = 1; o <= BOOT_OPTIONS; ++o)
        ui_set_toggle(W_BOOT_OPT_FIRST + o - 1, o == option, false);
    apply_option_fields();
}

// The node value of a variable on a device, or nullptr when it has none.
const ParamNode* answer(const MorixRecord* r, int mib_index) {
    if (r->status != SR_OK)
        return nullptr;
    for (const ParamNode* n = r->prm_list; n; n = n->next)
        if (n->mib_index == mib_index)
            return n->status == NS_OK ? n : nullptr;
    return nullptr;
}

// The SET values of the dialog, or false (and the reasons) when a changed
// address is malformed.
bool boot_values(const BootRequest& req, std::vector<std::pair<int, std::string>>* values,
                 std::string* errors) {
    for (int f = 0; f < BOOT_FIELDS; ++f) {
        const BootField& b = boot_fields[f];
        if (!boot_field_enabled(boot_ind, f))
            continue;
        std::string text = req.fields[f];
        if (b.kind == FK_ADDR && text == kept_copy[f])
            continue;
        if (b.kind == FK_TIME && text.empty())
            continue;
        if (b.kind == FK_ADDR && !check_ip_addr_fmt(&text)) {
            if (errors->empty())
                *errors = "Boot aborted due to:\n";
            *errors += std::string(b.label) + " : Invalid IP Address Format\n";
            continue;
        }
        int id = 0;
        if (!get_check_mib_var(b.var, &id)) {
            *errors = MSG_NO_REFS;
            return false;
        }
        values->push_back({id, text});
    }
    return errors->empty();
}

// One SET per device that has a chain; failed devices are recorded.
// Returns whether the pass was cancelled.
bool set_pass(const std::vector<MorixRecord*>& devs, const char* label, bool timeout_ok,
              std::vector<MorixRecord*>* failed) {
    LongOperation op(W_BOOT_DIALOG, "Cancel Boot", "", LO_CONFIRM | LO_FOLLOW_SNMP);
    for (MorixRecord* r : op.serve(devs, SNMP_OP_SET, label)) {
        bool ok = control_sent_ok(r) || (timeout_ok && r->status == SR_TIMEOUT);
        if (!ok)
            failed->push_back(r);
    }
    return op.close();
}

bool contains(const std::vector<MorixRecord*>& v, const MorixRecord* r) {
    for (const MorixRecord* x : v)
        if (x == r)
            return true;
    return false;
}

void boot_report(const std::vector<MorixRecord*>& devs, const std::vector<MorixRecord*>& failed) {
    for (MorixRecord* r : devs)
        if (!r->allow_set)
            warn_refuses_sets(W_BOOT_DIALOG, r);
    if (!failed.empty()) {
        display_warn(W_BOOT_DIALOG, "The boot failed for the following Morixes\n(check the "
                                    "value of the allow_snmp_sets parameter):");
        for (MorixRecord* r : failed)
            display_warn(W_BOOT_DIALOG, r->name);
    }
    // A success is news, not a warning: it comes in a message box.
    std::string booted;
    for (MorixRecord* r : devs)
        if (r->allow_set && !contains(failed, r))
            booted += "\n" + r->name;
    if (!booted.empty())
        display_msg_box(W_BOOT_DIALOG, "Boot Message",
                        "The boot operation was successful for: " + booted +
                            "\n\nUse 'Morix Status' in the Status menu\nto "
                            "determine the current state of a Morix.");
}

} // namespace

bool boot_field_enabled(int option, int f) {
    if (option < 1 || option > BOOT_OPTIONS || f < 0 || f >= BOOT_FIELDS)
        return false;
    return boot_field_table[option - 1][f];
}

int boot_field_id(int f) {
    return f >= 0 && f < BOOT_FIELDS ? boot_fields[f].id : 0;
}

int boot_option_action(int id, bool set) {
    int option = id - W_BOOT_OPT_FIRST + 1;
    if (option < 1 || option > BOOT_OPTIONS)
        return 0;
    if (set) {
        boot_ind = option;
        apply_option_fields();
    }
    return 1;
}

void get_boot_vals(int first_time) {
    for (int f = 0; f < 3; ++f) {
        ui_set_text(boot_fields[f].id, "");
        kept_copy[f].clear();
    }
    int ids[BG_COUNT];
    for (int v = 0; v < BG_COUNT; ++v) {
        if (!get_check_mib_var(boot_get_vars[v], &ids[v])) {
            display_warn(W_BOOT_DIALOG, MSG_NO_REFS);
            return;
        }
    }
    std::vector<MorixRecord*> devs = selected_reachable();
    set_app_cursor(CURSOR_BUSY);
    for (MorixRecord* r : devs) {
        free_prm_list(r);
        for (int v = 0; v < BG_COUNT; ++v)
            add_prm_node(r, ids[v], 0, 0, 0, "", "", 0);
    }
    mm_snmp_all(devs, SNMP_OP_GET, "");
    bool uncommon = false, flash = !devs.empty();
    for (int v = 0; v < BG_COUNT; ++v) {
        const ParamNode* first = nullptr;
        bool common = true;
        for (MorixRecord* r : devs) {
            const ParamNode* n = answer(r, ids[v]);
            if (v == BG_FLASH)
                flash = flash && n && std::atol(n->value.c_str()) >= 1;
            if (v == BG_SEQ)
                flash = flash && (!n || n->value != "self");
            if (!n || (first && n->value != first->value))
                common = false;
            if (!first)
                first = n;
        }
        // Flash sizes differ between models; only whether there is flash counts.
        if (v == BG_FLASH)
            continue;
        uncommon = uncommon || !common;
        if (!common || !first)
            continue;
        if (v <= BG_GW) {
            ui_set_text(boot_fields[v].id, first->value);
            kept_copy[v] = first->value;
        } else if (v == BG_IMAGE && first_time) {
            ui_set_text(W_BOOT_IMAGE_TF, first->value);
        }
    }
    if (first_time) {
        flash_offered = flash;
        for (int o = 1; o <= BOOT_OPTIONS; ++o)
            if (is_flash_option(o))
                ui_set_sensitive(W_BOOT_OPT_FIRST + o - 1, flash);
        if (is_flash_option(boot_ind) && !flash)
            select_option(1);
    }
    for (MorixRecord* r : devs)
        free_prm_list(r);
    set_app_cursor(CURSOR_NORMAL);
    // Said when the window is filled, not again at the refresh within a boot.
    if (uncommon && first_time)
        display_warn(W_BOOT_DIALOG, MSG_UNCOMMON);
}

bool boot_option_offered(int option) {
    return option >= 1 && option <= BOOT_OPTIONS && (!is_flash_option(option) || flash_offered);
}

Result open_boot_dialog() {
    if (!check_main_sel(W_MAIN_WINDOW, SEL_REACHABLE))
        return Result::refused;
    ui_fetch_dialog("boot_dialog", W_BOOT_DIALOG);
    ui_set_text(W_BOOT_TIME_TF, "");
    ui_set_text(W_BOOT_MSG_TF, "");
    select_option(boot_ind);
    ui_manage(W_BOOT_DIALOG);
    get_boot_vals(1);
    return Result::done;
}

Result process_boot(const BootRequest& req, std::vector<DeviceOutcome>* devices) {
    if (!check_main_sel(W_BOOT_DIALOG, SEL_REACHABLE))
        return Result::refused;
    if (boot_ind == 2) {
        std::string t = req.fields[BF_TIME];
        if (strip_blanks(&t).empty()) {
            display_warn(W_BOOT_DIALOG, "You did not enter a boot time.");
            return Result::refused;
        }
        if (!check_time_fmt(t)) {
            display_warn(W_BOOT_DIALOG, "Boot time is invalid. Please enter time in the "
                                        "following formats:\n'hh:mm' or '+hh:mm' or '+mm'.");
            return Result::refused;
        }
    }
    if (boot_ind < 1 || boot_ind > BOOT_OPTIONS) {
        display_warn(W_BOOT_DIALOG, "Invalid boot indicator. Software error.");
        return Result::refused;
    }
    // The confirmation may run its action after this function returned (a
    // window's question box): the outcome is known here only when it ran.
    auto outcome = std::make_shared<Result>(Result::refused);
    build_mrx_conf("The selected boot option will take place for the following Morixes:",
                   W_BOOT_DIALOG, [outcome, req, devices] { *outcome = boot_proc(req, devices); });
    return *outcome;
}

Result boot_proc(const BootRequest& req, std::vector<DeviceOutcome>* devices) {
    will_sel_mrx_allow_set();
    std::vector<std::pair<int, std::string>> values;
    std::string errors;
    if (!boot_values(req, &values, &errors)) {
        display_warn(W_BOOT_DIALOG, errors);
        return Result::failed;
    }
    int boot_id = 0;
    if (!get_check_mib_var("mrxcBoot", &boot_id)) {
        display_warn(W_BOOT_DIALOG, MSG_NO_REFS);
        return Result::failed;
    }
    std::vector<MorixRecord*> devs = selected_reachable(), failed;
    LongOperation busy;
    busy.busy();
    for (MorixRecord* r : devs) {
        free_prm_list(r);
        if (r->allow_set)
            for (const auto& v : values)
                add_prm_node(r, v.first, 0, 0, 0, "", v.second.c_str(), 0);
    }
    bool cancelled = set_pass(devs, "Setting boot parameters for", false, &failed);
    for (MorixRecord* r : devs)
        free_prm_list(r);
    if (devices)
        *devices = control_outcomes(devs, failed, cancelled, "the boot");
    if (cancelled) {
        busy.idle();
        display_warn(W_BOOT_DIALOG, "The boot operation was cancelled in progress.\nNo "
                                    "Morixes have been rebooted.");
        return Result::failed;
    }
    get_boot_vals(0);
    for (MorixRecord* r : devs)
        if (r->allow_set && !contains(failed, r))
            add_prm_node(r, boot_id, 0, 0, 0, "", std::to_string(boot_ind).c_str(), 0);
    cancelled = set_pass(devs, "Booting", true, &failed);
    for (MorixRecord* r : devs)
        free_prm_list(r);
    busy.idle();
    if (cancelled) {
        display_warn(W_BOOT_DIALOG, "The boot operation was cancelled in progress.\nUse "
                                    "'Morix Status' in the Status menu to see the "
                                    "current state of selected Morixes.");
        return Result::failed;
    }
    if (devices)
        *devices = control_outcomes(devs, failed, cancelled, "the boot");
    boot_report(devs, failed);
    bool all_took = failed.size() < devs.size();
    for (MorixRecord* r : devs)
        all_took = all_took && r->allow_set;
    return all_took && failed.empty() ? Result::done : Result::failed;
}
